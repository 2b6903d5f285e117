// Time from a call event handed to the MQTT output to its message reaching a subscriber
// through Debian's mosquitto on loopback, beside the same message sent by libmosquitto's own
// threaded loop (mosquitto_loop_start), the library's usual way of being driven.
#include "MosquittoBroker.h"

#include "outputs/MqttCallOutput.h"
#include "stores/Settings.h"
#include "support/Log.h"

#include "ProgramBench.h"

#include <mosquitto.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <vector>

using bench::Clock;
using bench::waitUntil;

namespace {

constexpr int kMessages = 1000;

// Notes when each message arrives; its payload's "number" is its index.
struct Reader {
    std::vector<Clock::time_point> arrived = std::vector<Clock::time_point>(kMessages);
    std::atomic<int> count = 0;
    std::atomic<bool> online = false;
    mosquitto* handle = nullptr;

    Reader(quint16 port) {
        handle = mosquitto_new("bench-reader", true, this);
        mosquitto_message_callback_set(
            handle, [](mosquitto*, void* self, const mosquitto_message* message) {
                auto* reader = static_cast<Reader*>(self);
                const std::string payload(static_cast<const char*>(message->payload),
                                          static_cast<std::size_t>(message->payloadlen));
                if (std::strstr(message->topic, "/status") != nullptr) {
                    reader->online = payload == "online";
                    return;
                }
                const std::string key = R"("number":")";
                const auto at = payload.find(key);
                if (at == std::string::npos) {
                    return;
                }
                const int index = std::atoi(payload.c_str() + at + key.size());
                if (index >= 0 && index < kMessages) {
                    reader->arrived[static_cast<std::size_t>(index)] = Clock::now();
                    reader->count.fetch_add(1);
                }
            });
        mosquitto_connect(handle, "127.0.0.1", port, 30);
        mosquitto_subscribe(handle, nullptr, "bench/+/call", 1);
        mosquitto_subscribe(handle, nullptr, "bench/+/status", 1);
        mosquitto_loop_start(handle);
    }
    ~Reader() {
        mosquitto_disconnect(handle);
        mosquitto_loop_stop(handle, false);
        mosquitto_destroy(handle);
    }
};

std::string payloadFor(int index) {
    CallEvent event;
    event.number = std::to_string(index);
    event.name = "Erika Mustermann";
    event.time = std::chrono::system_clock::now();
    return mqtt::callPayload(event);
}

void report(const char* what, std::vector<double> latencies) {
    std::sort(latencies.begin(), latencies.end());
    const auto percentile = [&latencies](double p) {
        return latencies[static_cast<std::size_t>(p * static_cast<double>(latencies.size() - 1))];
    };
    std::printf("%-44s p50 %.3f ms   p99 %.3f ms   max %.3f ms\n", what, percentile(0.50),
                percentile(0.99), latencies.back());
}

// Sends kMessages one after another, each once the one before has arrived.
template <typename Send> bool measure(Reader& reader, const char* what, Send send) {
    reader.count = 0;
    std::vector<Clock::time_point> sent(kMessages);
    for (int i = 0; i < kMessages; ++i) {
        sent[static_cast<std::size_t>(i)] = Clock::now();
        send(i);
        if (!waitUntil([&]() { return reader.count.load() > i; })) {
            std::fprintf(stderr, "%s: message %d did not arrive\n", what, i);
            return false;
        }
    }
    std::vector<double> latencies;
    for (std::size_t i = 0; i < sent.size(); ++i) {
        latencies.push_back(
            std::chrono::duration<double, std::milli>(reader.arrived[i] - sent[i]).count());
    }
    report(what, latencies);
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::addLibraryPath(RUFWACHT_BIN_DIR); // the program's MQTT module
    if (!MosquittoBroker::isInstalled()) {
        std::fprintf(stderr, "mosquitto is not installed\n");
        return 77;
    }
    QTemporaryDir dir;
    MosquittoBroker broker(dir.path());
    if (!broker.start()) {
        std::fprintf(stderr, "the broker did not start\n");
        return 1;
    }
    mosquitto_lib_init();
    Reader reader(broker.port());

    SettingsRecord settings;
    settings.mqttOn = true;
    settings.mqttHost = "127.0.0.1";
    settings.mqttPort = broker.port();
    settings.mqttTopic = "bench/rufwacht";
    Log log;
    MqttCallOutput output(log, "bench", "0");
    output.apply(settings);
    if (!waitUntil([&]() { return reader.online.load(); })) {
        std::fprintf(stderr, "the output did not connect\n");
        return 1;
    }
    std::printf("Call event -> message at a subscriber, %d messages, loopback mosquitto\n",
                kMessages);
    const bool ours = measure(reader, "MqttCallOutput (Qt event loop)", [&](int i) {
        CallEvent event;
        event.kind = CallEvent::Kind::End; // a call step with every retained state
        event.callId = static_cast<std::uint32_t>(i);
        event.number = std::to_string(i);
        event.missed = true;
        event.time = std::chrono::system_clock::now();
        output.publishCall(event);
    });

    mosquitto* peer = mosquitto_new(nullptr, true, nullptr);
    mosquitto_connect(peer, "127.0.0.1", broker.port(), 30);
    mosquitto_loop_start(peer);
    const bool theirs = measure(reader, "libmosquitto's own thread (loop_start)", [&](int i) {
        const std::string payload = payloadFor(i);
        mosquitto_publish(peer, nullptr, "bench/peer/call", static_cast<int>(payload.size()),
                          payload.data(), 1, false);
    });
    mosquitto_disconnect(peer);
    mosquitto_loop_stop(peer, false);
    mosquitto_destroy(peer);
    std::printf("(target: p99 <= 20 ms for MqttCallOutput)\n");
    return ours && theirs ? 0 : 1;
}
