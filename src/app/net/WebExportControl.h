#pragma once

#include <cstdint>
#include <string>

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
};

/// A web export that never serves: for a program without the server.
class NoWebExport : public WebExportControl {
public:
    bool start(std::uint16_t) override { return false; }
    void stop() override {}
    bool isRunning() const override { return false; }
    std::string lastError() const override { return {}; }
};
