#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <string>

class CallLine;
struct SettingsRecord;
namespace capi {
struct CallerTexts;
}

/// A line that calls come in on: a CAPI driver, or a router's call monitor. Once started it
/// stays on the line: when the line goes it says so and connects again, for ever, until
/// stopped. Its life is told through the signals, its calls through callArrived and callEnded
/// and described by callLine(). Another kind of line is one more subclass, chosen in makeLine.
class Line : public QObject {
    Q_OBJECT
public:
    ~Line() override;

    /// Comes onto the line, now or after the delay this kind of line waits.
    virtual void start() = 0;
    /// The program ends: stops watching and reconnecting and leaves the line.
    virtual void stop() = 0;

    /// The calls as the call handling sees them.
    virtual CallLine& callLine() = 0;
    /// The texts that stand in for a caller without a usable number.
    virtual void setCallerTexts(const capi::CallerTexts& texts) = 0;
    /// Turns away the call that rang last.
    virtual void rejectLatestCall() = 0;

    // The debug window's test buttons: a call rings and ends as if it came over the line.
    virtual void placeTestCall() = 0;
    virtual void endTestCall() = 0;

    /// A call rings; callLine() describes it.
    std::function<void()> callArrived;
    /// A call has ended; false when the call handling knew no such call.
    std::function<bool()> callEnded;

signals:
    /// On the line for the first time (said by a line that has something to name).
    void lineUp(const QString& description);
    /// The line has gone (once per outage); reason says why.
    void lineLost(const QString& reason);
    /// On the line again after an outage.
    void lineRestored();
    /// The line can never be reached (its driver cannot be loaded).
    void registrationFailed();
    /// A line for the debug trace.
    void notice(const QString& text);

protected:
    explicit Line(QObject* parent = nullptr);

    // Pass a call on to the call handling; before it is attached a call ends as a known one.
    void tellCallArrived() const;
    bool tellCallEnded() const;

    // The debug window's test call: a national number, so the caller reads 08154711 as in the
    // test call without a line.
    static constexpr const char* kTestCallerDigits = "8154711";
    static constexpr const char* kTestMsn = "12345";
};

/// The line that choice (the --line value or the line setting) names: "callmonitor:HOST" or
/// "callmonitor:HOST:PORT" a router's call monitor, anything else a CAPI driver
/// (makeCapiDriver), which registers after the delay that settings (kept by reference) ask for
/// when it starts. Nothing, with the reason in error, for a choice that names no usable line.
std::unique_ptr<Line> makeLine(const std::string& choice, const SettingsRecord& settings,
                               const std::string& dataDir, std::string& error);
