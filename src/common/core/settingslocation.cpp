#include "common/core/settingslocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ordalvex {

namespace {
const QString kFileName = QStringLiteral("Ordalvex.INI");
}

QString settingsFilePath() {
    const QString fromEnvironment = qEnvironmentVariable("ORDALVEX_INI");
    if (!fromEnvironment.isEmpty())
        return QFileInfo(fromEnvironment).absoluteFilePath();
    const QString programFolder = QCoreApplication::applicationDirPath();
    if (!programFolder.isEmpty() && QFileInfo(programFolder).isWritable())
        return programFolder + QLatin1Char('/') + kFileName;
    QString configFolder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (configFolder.isEmpty())
        configFolder = QDir::homePath() + QStringLiteral("/.config");
    configFolder += QStringLiteral("/Ordalvex");
    QDir().mkpath(configFolder);
    return configFolder + QLatin1Char('/') + kFileName;
}

QString settingsFolder() { return QFileInfo(settingsFilePath()).absolutePath(); }

} // namespace ordalvex
