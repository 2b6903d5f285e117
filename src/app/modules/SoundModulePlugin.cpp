// The sound module: wave files through Qt Multimedia, whose libraries (the sound server's
// client, the decoders) are loaded only with it.
#include "modules/QtWavePlayer.h"
#include "modules/SoundModule.h"

#include <QObject>

class QtMultimediaSoundModule : public QObject, public SoundModule {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID RUFWACHT_SOUND_MODULE_IID)
    Q_INTERFACES(SoundModule)
public:
    std::unique_ptr<WavePlayer> makePlayer() override { return std::make_unique<QtWavePlayer>(); }
};

#include "SoundModulePlugin.moc"
