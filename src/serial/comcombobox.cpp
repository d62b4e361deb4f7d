#include "comcombobox.h"

#include <QSignalBlocker>

#include <exception>

namespace telvane {

namespace {

const FlowControlSettings kHardwareFlow{true,  false, LineControl::Disable, LineControl::Handshake,
                                        false, false};
const FlowControlSettings kSoftwareFlow{false, false, LineControl::Disable, LineControl::Disable,
                                        true,  true};
const FlowControlSettings kNoFlow{};

QStringList items_for(ComProperty kind) {
    QStringList items;
    switch (kind) {
    case ComProperty::Port:
        return TComPort::EnumComPorts();
    case ComProperty::BaudRate:
        for (int i = 0; i < kBaudRateCount; ++i)
            items << BaudRateToStr(i);
        break;
    case ComProperty::DataBits:
        for (int bits = 5; bits <= 8; ++bits)
            items << DataBitsToStr(bits);
        break;
    case ComProperty::StopBits:
        for (auto bits : {StopBits::One, StopBits::OneAndHalf, StopBits::Two})
            items << StopBitsToStr(bits);
        break;
    case ComProperty::Parity:
        for (auto bits : {ParityBits::None, ParityBits::Odd, ParityBits::Even, ParityBits::Mark,
                          ParityBits::Space})
            items << ParityToStr(bits);
        break;
    case ComProperty::FlowControl:
        items << QStringLiteral("Hardware") << QStringLiteral("Software") << QStringLiteral("None")
              << QStringLiteral("Custom");
        break;
    case ComProperty::None:
        break;
    }
    return items;
}

} // namespace

QString FlowControlToStr(const FlowControlSettings& flow) {
    if (flow == kHardwareFlow)
        return QStringLiteral("Hardware");
    if (flow == kSoftwareFlow)
        return QStringLiteral("Software");
    if (flow == kNoFlow)
        return QStringLiteral("None");
    return QStringLiteral("Custom");
}

FlowControlSettings StrToFlowControl(const QString& text, const FlowControlSettings& current) {
    if (text.compare(QLatin1String("Hardware"), Qt::CaseInsensitive) == 0)
        return kHardwareFlow;
    if (text.compare(QLatin1String("Software"), Qt::CaseInsensitive) == 0)
        return kSoftwareFlow;
    if (text.compare(QLatin1String("None"), Qt::CaseInsensitive) == 0)
        return kNoFlow;
    return current; // "Custom" keeps whatever the port has
}

TComComboBox::TComComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    connect(this, &QComboBox::activated, this, &TComComboBox::Change);
}

void TComComboBox::SetComPort(TComPort* port) {
    port_ = port;
    UpdateSettings();
}

void TComComboBox::SetComProperty(ComProperty kind) {
    property_ = kind;
    clear();
    pending_.clear();
    // A device path the system does not list (a USB or Bluetooth adapter it misses, a
    // pseudo-terminal) can be typed; Return takes it like a picked item.
    setEditable(kind == ComProperty::Port);
    if (isEditable())
        setInsertPolicy(QComboBox::InsertAtBottom);
    addItems(items_for(kind));
    if (count() == 0)
        return;
    if (port_)
        UpdateSettings();
    else
        setCurrentIndex(0);
}

QString TComComboBox::port_value_text() const {
    switch (property_) {
    case ComProperty::Port:
        return port_->Port();
    case ComProperty::BaudRate:
        return BaudRateToStr(port_->BaudRate());
    case ComProperty::DataBits:
        return DataBitsToStr(port_->DataBits());
    case ComProperty::StopBits:
        return StopBitsToStr(port_->GetStopBits());
    case ComProperty::Parity:
        return ParityToStr(port_->Parity().Bits);
    case ComProperty::FlowControl:
        return FlowControlToStr(port_->FlowControl());
    case ComProperty::None:
        break;
    }
    return {};
}

void TComComboBox::UpdateSettings() {
    if (!port_ || property_ == ComProperty::None)
        return;
    // Exact text for device names; the fixed tables are searched without regard to case.
    const Qt::MatchFlags how = property_ == ComProperty::Port
                                   ? Qt::MatchExactly | Qt::MatchCaseSensitive
                                   : Qt::MatchFixedString;
    setCurrentIndex(findText(port_value_text(), how));
}

void TComComboBox::ApplySettings() {
    if (!port_ || pending_.isEmpty())
        return;
    switch (property_) {
    case ComProperty::Port:
        port_->SetPort(pending_);
        break;
    case ComProperty::BaudRate:
        port_->SetBaudRate(StrToBaudRate(pending_));
        break;
    case ComProperty::DataBits:
        port_->SetDataBits(StrToDataBits(pending_));
        break;
    case ComProperty::StopBits:
        port_->SetStopBits(StrToStopBits(pending_));
        break;
    case ComProperty::Parity: {
        ParitySettings parity = port_->Parity();
        parity.Bits = StrToParity(pending_);
        port_->SetParity(parity);
        break;
    }
    case ComProperty::FlowControl:
        port_->SetFlowControl(StrToFlowControl(pending_, port_->FlowControl()));
        break;
    case ComProperty::None:
        break;
    }
}

void TComComboBox::Change(int index) {
    if (index < 0)
        return;
    pending_ = itemText(index);
    if (!auto_apply_)
        return;
    // The user's pick reaches the port from inside an event handler: a port that refuses it is
    // reported to the owner instead of unwinding through the event loop.
    try {
        ApplySettings();
    } catch (const std::exception& e) {
        emit ApplyFailed(QString::fromUtf8(e.what()));
    }
}

QString TComComboBox::GetText() const {
    return currentIndex() < 0 ? QString() : currentText();
}

void TComComboBox::RefreshDevices() {
    if (property_ != ComProperty::Port)
        return;
    const QString current = GetText();
    QStringList devices;
    try {
        devices = TComPort::EnumComPorts();
    } catch (const ComPortError&) {
        // none listed now; a typed one stays
    }
    for (int i = 0; i < count(); ++i)
        if (!devices.contains(itemText(i)) && itemText(i) == current)
            devices << itemText(i);
    const QSignalBlocker quiet(this);
    clear();
    addItems(devices);
    setCurrentIndex(findText(current, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void TComComboBox::SelectDevice(const QString& device) {
    if (device.isEmpty())
        return;
    int at = findText(device, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (at < 0) {
        addItem(device);
        at = count() - 1;
    }
    setCurrentIndex(at);
    Change(at);
}

void TComComboBox::showPopup() {
    RefreshDevices();
    QComboBox::showPopup();
}

} // namespace telvane
