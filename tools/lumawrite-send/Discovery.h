#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Home Assistant's MQTT discovery (Node-RED and openHAB read the same convention): a service
// publishes, retained, a JSON config for each of its entities under
// PREFIX/COMPONENT/NODE/OBJECT/config, and the automation system shows them with no setup by
// hand. An empty retained config removes the entity again.
namespace lumawrite::send {

struct DiscoveryService {
    QString prefix = QStringLiteral("homeassistant");
    QString deviceName; // empty: the last level of the first topic prefix
    QString clientId;   // names the device and its entities, as it names the service
    QString firstTopic; // its messages come from FIRSTTOPIC/message
    QByteArray statusTopic;
    QString version; // the program's
};

struct DiscoveryConfig {
    QByteArray topic;
    QByteArray payload; // empty: removes the entity
};

// The characters an object or node id may hold: letters, digits, "_" and "-"; any other
// character becomes "_".
QString discoveryId(const QString &text);

// The configs of a service: a text entity "Message" (what is sent, and the last text sent), a
// sensor "Upload" (its state, with the frames as attributes) and a sensor "Upload progress" in
// percent, all of one device, available while the service's status is other than "offline".
QList<DiscoveryConfig> discoveryConfigs(const DiscoveryService &service);
// The same topics with empty payloads.
QList<DiscoveryConfig> discoveryRemovals(const DiscoveryService &service);

} // namespace lumawrite::send
