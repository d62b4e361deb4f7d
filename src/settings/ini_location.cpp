#include "ini_location.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace telvane {

namespace {

bool can_write(const QString& path) {
    QFile file(path);
    if (file.exists())
        return file.open(QIODevice::ReadWrite); // opening changes nothing in the file
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    file.close();
    file.remove();
    return true;
}

} // namespace

QString ini_path_beside(const QString& executablePath) {
    const QFileInfo info(executablePath);
    QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        name.truncate(dot);
    return info.dir().filePath(name + QStringLiteral(".INI"));
}

QString resolve_ini_path(const QString& besidePath, const QString& configDir) {
    if (can_write(besidePath))
        return besidePath;
    QDir().mkpath(configDir);
    const QString moved = QDir(configDir).filePath(QFileInfo(besidePath).fileName());
    if (!QFile::exists(moved) && QFile::exists(besidePath) && QFile::copy(besidePath, moved))
        QFile::setPermissions(moved,
                              QFile::permissions(moved) | QFile::ReadOwner | QFile::WriteOwner);
    return moved;
}

} // namespace telvane
