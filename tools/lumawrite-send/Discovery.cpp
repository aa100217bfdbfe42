#include "Discovery.h"

#include "MessageText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace lumawrite::send {
namespace {

// The status document says "offline" when the service stopped or vanished (its last will).
const QString AvailableTemplate =
    QStringLiteral("{{ 'offline' if value_json.state == 'offline' else 'online' }}");

QByteArray configTopic(const DiscoveryService &s, const char *component, const char *object)
{
    return QStringLiteral("%1/%2/%3/%4/config")
        .arg(s.prefix, QLatin1String(component), discoveryId(s.clientId), QLatin1String(object))
        .toUtf8();
}

QString deviceName(const DiscoveryService &s)
{
    if (!s.deviceName.isEmpty())
        return s.deviceName;
    return s.firstTopic.section(QLatin1Char('/'), -1);
}

} // namespace

QString discoveryId(const QString &text)
{
    QString id = text;
    for (QChar &c : id) {
        const char16_t u = c.unicode();
        const bool allowed = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') ||
                             (u >= '0' && u <= '9') || u == '_' || u == '-';
        if (!allowed)
            c = QLatin1Char('_');
    }
    return id;
}

QList<DiscoveryConfig> discoveryConfigs(const DiscoveryService &s)
{
    const QString node = discoveryId(s.clientId);
    const QString status = QString::fromUtf8(s.statusTopic);
    const QJsonObject device{{"identifiers", QJsonArray{node}},
                             {"name", deviceName(s)},
                             {"manufacturer", "Luma Write"},
                             {"model", "Luma Write"},
                             {"sw_version", s.version}};
    const QJsonArray availability{
        QJsonObject{{"topic", status}, {"value_template", AvailableTemplate}}};
    const auto entity = [&](const char *name, const char *object) {
        return QJsonObject{{"name", QLatin1String(name)},
                           {"unique_id", node + QLatin1Char('_') + QLatin1String(object)},
                           {"state_topic", status},
                           {"availability", availability},
                           {"device", device}};
    };

    QJsonObject message = entity("Message", "message");
    message.insert("command_topic", s.firstTopic + QStringLiteral("/message"));
    message.insert("value_template", "{{ value_json.text }}");
    message.insert("min", 0);
    message.insert("max", render::MaxMessageChars);
    message.insert("mode", "text");
    message.insert("icon", "mdi:message-text");

    QJsonObject upload = entity("Upload", "upload");
    upload.insert("value_template", "{{ value_json.state }}");
    upload.insert("json_attributes_topic", status);
    upload.insert("json_attributes_template",
                  "{{ {'frames': value_json.frames, 'of': value_json.of, 'text': "
                  "value_json.text, 'error': value_json.error} | tojson }}");
    upload.insert("icon", "mdi:upload");

    QJsonObject progress = entity("Upload progress", "progress");
    progress.insert("value_template", "{{ ((value_json.frames * 100) / value_json.of) | round(0) "
                                      "| int if value_json.of else 0 }}");
    progress.insert("unit_of_measurement", "%");
    progress.insert("icon", "mdi:progress-upload");

    const auto json = [](const QJsonObject &o) {
        return QJsonDocument(o).toJson(QJsonDocument::Compact);
    };
    return {{configTopic(s, "text", "message"), json(message)},
            {configTopic(s, "sensor", "upload"), json(upload)},
            {configTopic(s, "sensor", "progress"), json(progress)}};
}

QList<DiscoveryConfig> discoveryRemovals(const DiscoveryService &s)
{
    QList<DiscoveryConfig> removals = discoveryConfigs(s);
    for (DiscoveryConfig &config : removals)
        config.payload.clear();
    return removals;
}

} // namespace lumawrite::send
