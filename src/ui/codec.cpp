#include "codec.h"

#include <QByteArray>
#include <QStringDecoder>
#include <QStringEncoder>

namespace telvane {

QString fromGbk(std::string_view bytes) {
    // A fresh decoder per call: a text cut inside a double-byte character must not leave its half
    // behind to spoil the next one.
    QStringDecoder decoder("GBK");
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string toGbk(const QString& text) {
    QStringEncoder encoder("GBK");
    const QByteArray bytes = encoder.encode(text);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::optional<std::string> toGbkExact(const QString& text) {
    QStringEncoder encoder("GBK");
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::string toGbkMarked(const QString& text) {
    if (std::optional<std::string> whole = toGbkExact(text))
        return *std::move(whole);
    std::string out;
    for (qsizetype i = 0; i < text.size();) {
        // One character: a surrogate pair stays together.
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const std::optional<std::string> one = toGbkExact(text.mid(i, n));
        out += one ? *one : std::string(1, '\0');
        i += n;
    }
    return out;
}

} // namespace telvane
