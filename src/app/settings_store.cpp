#include "app/settings_store.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>
#include <QString>

namespace orvane {

namespace {

constexpr const char* organisation = "Velmora Software";
constexpr const char* lastPathKey = "INIT/LAST_PATH";

QString executableBaseName()
{
    const QString baseName = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    return baseName.isEmpty() ? QStringLiteral("orvane") : baseName;
}

} // namespace

std::string readLastPath(const std::string& programDirectory)
{
    QSettings settings(QString::fromLatin1(organisation), executableBaseName());
    if (settings.status() != QSettings::NoError)
        return {};
    const QVariant value = settings.value(QString::fromLatin1(lastPathKey));
    if (!value.isValid())
        return programDirectory;
    return value.toString().toStdString();
}

void writeLastPath(const std::string& lastPath)
{
    QSettings settings(QString::fromLatin1(organisation), executableBaseName());
    settings.setValue(QString::fromLatin1(lastPathKey), QString::fromStdString(lastPath));
    settings.sync();
}

} // namespace orvane
