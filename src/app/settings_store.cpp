#include "app/settings_store.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>
#include <QString>
#include <QStringList>

namespace orvane {

namespace {

constexpr const char* organisation = "Velmora Software";
constexpr const char* lastPathKey = "INIT/LAST_PATH";
constexpr const char* ip3Key = "INTERMOD/IP3_DBW";
constexpr const char* guardKey = "INTERMOD/GUARD_KHZ";
constexpr const char* warningKey = "INTERMOD/WARNING_CIM_DB";
constexpr const char* recentPlansKey = "RECENT/PLANS";
constexpr const char* windowStateKey = "WINDOW/STATE";

QString executableBaseName()
{
    const QString baseName = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    return baseName.isEmpty() ? QStringLiteral("orvane") : baseName;
}

} // namespace

std::string readLastPath(const std::string& defaultFolder)
{
    QSettings settings(QString::fromLatin1(organisation), executableBaseName());
    if (settings.status() != QSettings::NoError)
        return {};
    const QVariant value = settings.value(QString::fromLatin1(lastPathKey));
    if (!value.isValid())
        return defaultFolder;
    return value.toString().toStdString();
}

void writeLastPath(const std::string& lastPath)
{
    QSettings settings(QString::fromLatin1(organisation), executableBaseName());
    settings.setValue(QString::fromLatin1(lastPathKey), QString::fromStdString(lastPath));
    settings.sync();
}

IntermodInputs readIntermodInputs()
{
    QSettings settings(QString::fromLatin1(organisation), executableBaseName());
    IntermodInputs inputs;
    const auto read = [&settings](const char* key, std::string& value) {
        const QVariant stored = settings.value(QString::fromLatin1(key));
        if (stored.isValid())
            value = stored.toString().toStdString();
    };
    read(ip3Key, inputs.ip3Dbw);
    read(guardKey, inputs.guardKhz);
    read(warningKey, inputs.warningCimDb);
    return inputs;
}

void writeIntermodInputs(const IntermodInputs& inputs)
{
    QSettings settings(QString::fromLatin1(organisation), executableBaseName());
    settings.setValue(QString::fromLatin1(ip3Key), QString::fromStdString(inputs.ip3Dbw));
    settings.setValue(QString::fromLatin1(guardKey), QString::fromStdString(inputs.guardKhz));
    settings.setValue(QString::fromLatin1(warningKey), QString::fromStdString(inputs.warningCimDb));
    settings.sync();
}

std::vector<std::string> readRecentPlans()
{
    QSettings settings(QString::fromLatin1(organisation), executableBaseName());
    std::vector<std::string> paths;
    for (const QString& path : settings.value(QString::fromLatin1(recentPlansKey)).toStringList())
        paths.push_back(path.toStdString());
    return paths;
}

void writeRecentPlans(const std::vector<std::string>& paths)
{
    QStringList stored;
    for (const std::string& path : paths)
        stored << QString::fromStdString(path);
    QSettings settings(QString::fromLatin1(organisation), executableBaseName());
    settings.setValue(QString::fromLatin1(recentPlansKey), stored);
    settings.sync();
}

QByteArray readWindowState()
{
    QSettings settings(QString::fromLatin1(organisation), executableBaseName());
    return settings.value(QString::fromLatin1(windowStateKey)).toByteArray();
}

void writeWindowState(const QByteArray& state)
{
    QSettings settings(QString::fromLatin1(organisation), executableBaseName());
    settings.setValue(QString::fromLatin1(windowStateKey), state);
    settings.sync();
}

} // namespace orvane
