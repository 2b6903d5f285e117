#pragma once

#include "calls/CallViews.h"

// Views that show nothing: the headless service has no windows, icon or speaker.

class NullJournalView : public JournalView {
public:
    void refresh(bool) override {}
    void showAndActivate() override {}
    void minimize() override {}
};

class NullPopupView : public PopupView {
public:
    void showCall(const PopupContent&) override {}
    void setStatus(const std::string&) override {}
    void close() override {}
};

class NullTrayView : public TrayView {
public:
    void setTooltip(const std::string&) override {}
    void setIcon(TrayIcon) override {}
    void setGreenBlink(bool) override {}
    void setRedBlink(bool) override {}
};

class NullWavePlayer : public WavePlayer {
public:
    void play(const std::string&) override {}
};

class NullUrlOpener : public UrlOpener {
public:
    bool openUrl(const std::string&) override { return false; }
};
