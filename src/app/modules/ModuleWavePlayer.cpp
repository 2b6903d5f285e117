#include "modules/ModuleWavePlayer.h"

#include "modules/SoundModule.h"

#include <QApplication>

ModuleWavePlayer::ModuleWavePlayer(std::function<void(const QString&)> report)
    : m_loader("rufwacht-sound"), m_report(std::move(report)) {}

ModuleWavePlayer::~ModuleWavePlayer() = default;

void ModuleWavePlayer::play(const std::string& path) {
    if (!m_tried) {
        m_tried = true;
        if (auto* module = m_loader.load<SoundModule>()) {
            m_player = module->makePlayer();
        } else if (m_report) {
            m_report(m_loader.error());
        }
    }
    if (m_player) {
        m_player->play(path);
    } else {
        QApplication::beep();
    }
}
