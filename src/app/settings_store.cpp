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

namespace {

// Each of the panel's texts and its key.
template <typename Settings, typename Visit> void forEachPanelText(Settings& settings, Visit visit)
{
    visit("INTERMOD/IP3_DBW", settings.ip3Dbw);
    visit("INTERMOD/GUARD_KHZ", settings.guardKhz);
    visit("INTERMOD/WARNING_CIM_DB", settings.warningCimDb);
    visit("INTERMOD/TRANSPONDER_MHZ", settings.transponderMhz);
    visit("INTERMOD/PSAT_DBW", settings.saturatedPowerDbw);
    visit("INTERMOD/OBO_DB", settings.outputBackoffDb);
    visit("INTERMOD/CN0_SAT_DBHZ", settings.saturatedCn0DbHz);
    visit("INTERMOD/AMPLIFIER", settings.amplifier);
    visit("INTERMOD/IBO_DB", settings.inputBackoffDb);
    visit("INTERMOD/RAPP_P", settings.rappSmoothness);
    visit("INTERMOD/AMPLIFIER_TABLE", settings.amplifierTablePath);
}

} // namespace

PanelSettings readPanelSettings()
{
    QSettings store(QString::fromLatin1(organisation), executableBaseName());
    PanelSettings settings;
    forEachPanelText(settings, [&store](const char* key, std::string& value) {
        const QVariant stored = store.value(QString::fromLatin1(key));
        if (stored.isValid())
            value = stored.toString().toStdString();
    });
    return settings;
}

void writePanelSettings(const PanelSettings& settings)
{
    QSettings store(QString::fromLatin1(organisation), executableBaseName());
    forEachPanelText(settings, [&store](const char* key, const std::string& value) {
        store.setValue(QString::fromLatin1(key), QString::fromStdString(value));
    });
    store.sync();
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
