#include "entry_dialogs.h"

#include "ui/codec.h"
#include "ui/prompts.h"
#include "ui/ui_text.h"

namespace telvane::road {

namespace {

QString text_of(const UiText& texts, std::string_view key) {
    return key.empty() ? QString() : texts.text(key);
}

QString label_of(const UiText& texts, const EntryField& field) {
    return text_of(texts, field.LabelKey) + text_of(texts, field.LabelKey2) +
           QLatin1String(field.Suffix);
}

EntryTexts gbk_texts(const QStringList& values) {
    EntryTexts texts;
    for (const QString& v : values)
        texts.push_back(toGbk(v));
    return texts;
}

QStringList shown_texts(const EntryTexts& texts) {
    QStringList values;
    for (const std::string& t : texts)
        values << fromGbk(t);
    return values;
}

} // namespace

std::optional<RoadRecord>
EnterRecord(Prompts& prompts, const UiText& texts, RoadList page, const EntryTexts& shown,
            const std::function<std::optional<double>(double)>& chainage_of) {
    const EntryForm& form = EntryFormOf(page);
    EntryRequest request;
    request.name = QLatin1String(form.Name);
    request.title = texts.text(form.TitleKey);
    for (std::size_t i = 0; i < form.Fields.size(); ++i) {
        const EntryField& f = form.Fields[i];
        EntryBox box{QLatin1String(f.Name),
                     label_of(texts, f),
                     {},
                     i < shown.size() ? fromGbk(shown[i]) : QString()};
        for (const std::string_view choice : f.ChoiceKeys)
            box.choices << text_of(texts, choice);
        request.boxes.push_back(std::move(box));
    }
    request.check = [&](const QStringList& values) -> std::optional<EntryRefused> {
        const auto read = ReadEntry(page, gbk_texts(values), chainage_of);
        const auto* refused = std::get_if<EntryRefusal>(&read);
        if (!refused)
            return std::nullopt;
        QString message = texts.text(refused->Key);
        if (!refused->Value.empty())
            message += QStringLiteral(": ") + fromGbk(refused->Value);
        else if (refused->Field < form.Fields.size() && refused->Key != "data_empty")
            message += label_of(texts, form.Fields[refused->Field]);
        return EntryRefused{static_cast<int>(refused->Field), message};
    };
    request.follow = [page](QStringList& values, int changed) {
        EntryTexts t = gbk_texts(values);
        FollowChoice(page, t, static_cast<std::size_t>(changed));
        values = shown_texts(t);
    };
    const std::optional<QStringList> values = prompts.enter(request);
    if (!values)
        return std::nullopt;
    auto read = ReadEntry(page, gbk_texts(*values), chainage_of);
    if (auto* record = std::get_if<RoadRecord>(&read))
        return *record;
    return std::nullopt;
}

QString number_text(double v) {
    return QString::fromStdString(FormatCell(v));
}

} // namespace telvane::road
