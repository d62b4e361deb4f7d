// A drop-down list bound to one setting of a TComPort (port name, baud rate, ...).
#pragma once

#include "comport.h"

#include <QComboBox>
#include <QPointer>

namespace telvane {

enum class ComProperty {
    None = 0,
    Port = 1,
    BaudRate = 2,
    DataBits = 3,
    StopBits = 4,
    Parity = 5,
    FlowControl = 6
};

class TComComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TComComboBox(QWidget* parent = nullptr);

    // Binds the list to a port (may be nullptr) and selects the port's current value.
    void SetComPort(TComPort* port);
    TComPort* ComPort() const { return port_; }

    // Fills the items for `kind` (for the port name the system's devices, which may throw
    // ComPortError code 23 and leave the list empty) and selects the port's current value, or
    // the first item when no port is bound.
    void SetComProperty(ComProperty kind);
    ComProperty GetComProperty() const { return property_; }

    // Selects the item that shows the port's current value; no selection when none does.
    void UpdateSettings();
    // Writes the pending value (the last item the user picked) to the port.
    void ApplySettings();

    bool AutoApply() const { return auto_apply_; }
    void SetAutoApply(bool on) { auto_apply_ = on; }

    // The selected item's text, or "" when nothing is selected.
    QString GetText() const;

    // The port-name list: reads the system's devices again, keeping the selection and a device
    // the user typed. Also done each time the list drops down, so an adapter plugged in after
    // start appears.
    void RefreshDevices();
    // Selects `device`, adding it when the system list misses it (a typed path kept from an
    // earlier run).
    void SelectDevice(const QString& device);

    void showPopup() override;

signals:
    // The port refused a value the user picked (AutoApply); `reason` is the port's error text.
    void ApplyFailed(const QString& reason);

private:
    void Change(int index);
    QString port_value_text() const;

    QPointer<TComPort> port_;
    ComProperty property_ = ComProperty::None;
    bool auto_apply_ = false;
    QString pending_;
};

// The flow-control presets a selector offers: the port's settings match at most one of them.
QString FlowControlToStr(const FlowControlSettings& flow);
FlowControlSettings StrToFlowControl(const QString& text, const FlowControlSettings& current);

} // namespace telvane
