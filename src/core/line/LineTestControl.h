#pragma once

#include "line/CapiMessages.h"

#include <cstdint>
#include <vector>

/// What a driver may offer for trying the program without a caller: calls placed and ended at
/// run time, as the simulated line does for the debug window's test buttons.
class LineTestControl {
public:
    virtual ~LineTestControl() = default;

    /// True once an application listens, so that a placed call is offered to it.
    virtual bool isListening() const = 0;
    /// Offers a call (CONNECT_IND).
    virtual void injectCall(const capi::IncomingCallElements& call) = 0;
    /// PLCIs of the calls offered and not yet cleared, oldest first.
    virtual std::vector<std::uint32_t> callsInProgress() const = 0;
    /// Ends a call in progress (DISCONNECT_IND) with the reason.
    virtual void injectHangup(std::uint32_t plci, std::uint16_t reason) = 0;
    /// The connection to the CAPI goes away, as when a router restarts: the calls in progress
    /// and the registration are gone, fetches fail and registrations are refused until
    /// restoreLine().
    virtual void dropLine() = 0;
    virtual void restoreLine() = 0;
};
