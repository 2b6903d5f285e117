#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "net/LineHealth.h"

class CallEventStream;

/// The line's state now (calls are counted by whoever asks).
using LineHealthSource = std::function<LineHealth()>;

/// Starts and stops the journal web page. Start-up and the settings dialog use it; the server
/// reads the password and the journal when a request comes.
class WebExportControl {
public:
    virtual ~WebExportControl() = default;

    /// Listens on the port (stopping first when already listening); false when that failed,
    /// with the reason in lastError().
    virtual bool start(std::uint16_t port) = 0;
    virtual void stop() = 0;
    virtual bool isRunning() const = 0;
    /// Why the last start failed; empty after a successful one.
    virtual std::string lastError() const = 0;
    /// The calls' steps for the event stream; the stream must outlive the server.
    virtual void followCalls(CallEventStream&) {}
    /// Where the health request learns the line's state.
    virtual void setLineHealth(const LineHealthSource&) {}
    /// A line of text above the journal's table, asked for with every page; empty for none.
    virtual void setPageNotice(std::function<std::string()>) {}
};

/// A web export that never serves: for a program without the server.
class NoWebExport : public WebExportControl {
public:
    bool start(std::uint16_t) override { return false; }
    void stop() override {}
    bool isRunning() const override { return false; }
    std::string lastError() const override { return {}; }
};
