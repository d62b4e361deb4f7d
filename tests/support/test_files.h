// Language files and INI files made by a test, in a fresh folder.
//
// Every key's text is its own name with a language mark, so a test can tell from any caption or
// message which key produced it: "EN settingbtn" in English, "中文 settingbtn" in Chinese.
#pragma once

#include "window_keys.h"

#include "ui/codec.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

inline QString en(const char* key) {
    return QStringLiteral("EN ") + QLatin1String(key);
}
inline QString zh(const char* key) {
    return QStringLiteral("中文 ") + QLatin1String(key);
}

class TestFiles {
public:
    TestFiles() { dir_.setAutoRemove(true); }

    QString dir() const { return dir_.path(); }
    QString ini() const { return dir_.filePath(QStringLiteral("telvane.INI")); }

    void write(const QString& name, const QByteArray& bytes) const {
        QFile f(dir_.filePath(name));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes);
    }
    void write_gbk(const QString& name, const QString& text) const {
        const std::string bytes = telvane::toGbk(text);
        write(name, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    }
    QByteArray read(const QString& name) const {
        QFile f(dir_.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void remove(const QString& name) const { QFile::remove(dir_.filePath(name)); }

    // Language.cfg with the header "KEY 中文 English" (or only Chinese) and the given keys; each
    // text is kept whole by a trailing ignored field.
    void write_language(const QStringList& keys, bool english = true) const {
        QString text =
            english ? QStringLiteral("KEY\t中文\tEnglish\r\n") : QStringLiteral("KEY\t中文\r\n");
        for (const QString& key : keys)
            text += key + QLatin1Char('\t') + QStringLiteral("中文 ") + key + QLatin1Char('\t') +
                    (english ? QStringLiteral("EN ") + key + QStringLiteral("\t|")
                             : QStringLiteral("|")) +
                    QStringLiteral("\r\n");
        write_gbk(QStringLiteral("Language.cfg"), text);
    }
    void write_help(const QString& chinese, const QString& english) const {
        write_gbk(QStringLiteral("HELP.txt"), QStringLiteral("[中文]\r\n") + chinese +
                                                  QStringLiteral("\r\n[English]\r\n") + english +
                                                  QStringLiteral("\r\n"));
    }
    void write_ini(const QByteArray& text) const { write(QStringLiteral("telvane.INI"), text); }
    QByteArray read_ini() const { return read(QStringLiteral("telvane.INI")); }

private:
    QTemporaryDir dir_;
};

// Every key the windows of this program ask for.
inline QStringList all_window_keys() {
    QStringList keys;
    for (const char* key : telvane::testing::kWindowKeys)
        keys << QString::fromLatin1(key);
    return keys;
}
