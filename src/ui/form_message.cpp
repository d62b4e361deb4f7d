#include "form_message.h"

#include "ui_text.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace telvane {

TFormMessage::TFormMessage(const UiText& texts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), texts_(texts) {
    setObjectName("FormMessage");
    setFixedSize(302, 154);
    setModal(true);

    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label1->setFixedHeight(65);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    Label1->setAutoFillBackground(true);
    QPalette palette = Label1->palette();
    palette.setColor(QPalette::Window, Qt::white);
    Label1->setPalette(palette);
    QFont font = Label1->font();
    font.setPixelSize(13);
    Label1->setFont(font);

    Button1 = new QPushButton(QStringLiteral("确认"), this);
    Button1->setObjectName("Button1");
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("取消"), this);
    Button2->setObjectName("Button2");
    connect(Button1, &QPushButton::clicked, this, [this] { done(1); });
    connect(Button2, &QPushButton::clicked, this, [this] { done(2); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addSpacing(24);
    buttons->addWidget(Button2);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 12);
    layout->addWidget(Label1);
    layout->addStretch();
    layout->addLayout(buttons);
}

void TFormMessage::showEvent(QShowEvent* event) {
    Button1->setText(texts_.text("confirmbtn"));
    Button2->setText(texts_.text("cancelbtn"));
    QDialog::showEvent(event);
}

int TFormMessage::Ask(const QString& title, const QString& text) {
    setWindowTitle(title);
    Label1->setText(text);
    return exec() == 1 ? 1 : 2;
}

} // namespace telvane
