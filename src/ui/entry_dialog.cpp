#include "entry_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace telvane {

EntryDialog::EntryDialog(EntryRequest request, std::function<void(const QString&)> say,
                         const QString& ok, const QString& cancel, QWidget* parent)
    : QDialog(parent), request_(std::move(request)), say_(std::move(say)) {
    setObjectName(request_.name);
    setWindowTitle(request_.title);
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    layout->addLayout(grid);
    for (const EntryBox& b : request_.boxes) {
        QWidget* control = nullptr;
        const int at = static_cast<int>(controls_.size());
        if (b.choices.isEmpty()) {
            auto* edit = new QLineEdit(b.value, this);
            // Wide enough for a coordinate with all its decimals.
            edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 18);
            control = edit;
        } else {
            auto* list = new QComboBox(this);
            list->addItems(b.choices);
            list->setCurrentIndex(b.value.toInt());
            connect(list, &QComboBox::currentIndexChanged, this, [this, at] { list_changed(at); });
            control = list;
        }
        control->setObjectName(b.name);
        auto* label = new QLabel(b.label, this);
        label->setObjectName(QStringLiteral("Label%1").arg(at + 1));
        label->setBuddy(control);
        // Three pairs to a row.
        grid->addWidget(label, at / 3, (at % 3) * 2);
        grid->addWidget(control, at / 3, (at % 3) * 2 + 1);
        controls_.push_back(control);
    }
    auto* buttons = new QHBoxLayout;
    Button1 = new QPushButton(ok, this);
    Button1->setObjectName("Button1");
    Button1->setDefault(true);
    Button2 = new QPushButton(cancel, this);
    Button2->setObjectName("Button2");
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    layout->addLayout(buttons);
    connect(Button1, &QPushButton::clicked, this, &EntryDialog::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject); // Escape does the same
    if (!controls_.empty())
        controls_.front()->setFocus();
}

QStringList EntryDialog::values() const {
    QStringList values;
    for (const QWidget* c : controls_) {
        if (const auto* edit = qobject_cast<const QLineEdit*>(c))
            values << edit->text();
        else
            values << QString::number(qobject_cast<const QComboBox*>(c)->currentIndex());
    }
    return values;
}

void EntryDialog::set_values(const QStringList& values) {
    for (std::size_t i = 0; i < controls_.size() && i < static_cast<std::size_t>(values.size());
         ++i) {
        const QString& v = values[static_cast<qsizetype>(i)];
        if (auto* edit = qobject_cast<QLineEdit*>(controls_[i])) {
            if (edit->text() != v)
                edit->setText(v);
        } else if (auto* list = qobject_cast<QComboBox*>(controls_[i])) {
            list->setCurrentIndex(v.toInt());
        }
    }
}

void EntryDialog::list_changed(int box) {
    if (following_ || !request_.follow)
        return;
    following_ = true;
    QStringList v = values();
    request_.follow(v, box);
    set_values(v);
    following_ = false;
}

void EntryDialog::Button1Click() {
    const std::optional<EntryRefused> refused =
        request_.check ? request_.check(values()) : std::nullopt;
    if (!refused) {
        accept();
        return;
    }
    if (say_)
        say_(refused->message);
    if (refused->box >= 0 && refused->box < static_cast<int>(controls_.size())) {
        QWidget* at = box(refused->box);
        at->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(at))
            edit->selectAll();
    }
}

} // namespace telvane
