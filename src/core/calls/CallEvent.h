#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

/// One step of an incoming call as every output of the program sees it: the call rang, it was
/// answered (at some telephone), or it ended. A call that was filtered out by the MSN list
/// raises no events.
struct CallEvent {
    enum class Kind { Ring, Connect, End };

    Kind kind = Kind::Ring;
    /// The line's id of the call (PLCI or the call monitor's connection id); the same for all
    /// steps of one call.
    std::uint32_t callId = 0;
    /// The caller's number as journaled; the withheld text when the caller withheld it.
    std::string number;
    bool withheld = false;
    /// The phonebook's name; empty when the caller is not listed.
    std::string name;
    /// Place or country of the number; empty when unknown or withheld.
    std::string origin;
    /// The dialled own number and its name from the MSN list (the number itself when unlisted).
    std::string msn;
    std::string msnName;
    /// The service the call asks for, as the journal names it.
    std::string service;
    /// The phonebook entry's picture; empty when it has none.
    std::string picturePath;
    /// Ring: the line can still turn this call away.
    bool canReject = false;
    /// End: the end-reason text, the line's reason value, and whether nobody answered.
    std::string reason;
    std::uint16_t reasonCode = 0;
    bool missed = false;
    /// When the step happened.
    std::chrono::system_clock::time_point time;
    /// The date and time texts of the call's journal record, which tell the record apart.
    std::string journalDate;
    std::string journalTime;

    /// What the caller is called where one word must do: the name, else the number.
    const std::string& caller() const { return name.empty() ? number : name; }
};

/// Hands each call event to every output, in the order they subscribed. Outputs run inside the
/// call handling: they must return at once and leave slow work (network, processes) to later.
class CallEventStream {
public:
    using Listener = std::function<void(const CallEvent&)>;

    void subscribe(Listener listener) { m_listeners.push_back(std::move(listener)); }
    void publish(const CallEvent& event) const {
        for (const Listener& listener : m_listeners) {
            listener(event);
        }
    }

private:
    std::vector<Listener> m_listeners;
};
