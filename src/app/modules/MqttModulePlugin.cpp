// The MQTT module: sessions through libmosquitto, whose TLS libraries are loaded only with it.
#include "modules/MosquittoSession.h"
#include "modules/MqttModule.h"

#include <QObject>

class MosquittoModule : public QObject, public MqttModule {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID RUFWACHT_MQTT_MODULE_IID)
    Q_INTERFACES(MqttModule)
public:
    std::unique_ptr<MqttSession> makeSession(MqttBroker broker, MqttSessionEvents events) override {
        return std::make_unique<MosquittoSession>(std::move(broker), std::move(events));
    }
};

#include "MqttModulePlugin.moc"
