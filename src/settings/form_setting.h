// The settings dialog: units, two-difference coefficient, grid scale factor and coordinate order.
//
// Its controls are the live settings: the rest of the program reads them from here. The values
// are kept in the [Setting] section of the INI file; showing the dialog reloads them, so edits
// that were not confirmed stay in effect only until it is shown again.
#pragma once

#include "document/stored_settings.h"
#include "fileio/datastate.h"

#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace telvane {

class UiText;

class TForm2 : public QDialog {
    Q_OBJECT
public:
    TForm2(const UiText& texts, QString iniPath, QWidget* parent = nullptr);

    // The unit codes of the value conversions: angle 1 DMS, 2 gon, 3 mil; distance 1 metre,
    // 2 US survey foot, 3 international foot; 0 for no selection or the fourth entry.
    int angle_unit_code() const;
    int distance_unit_code() const;
    // The two-difference coefficient and the grid scale factor as shown; throw ConversionError
    // when the text is not a number.
    double k_option() const;
    double grid_scale() const;
    // 0 north first (NEZ), 1 east first (ENZ).
    int coord_order() const;
    // Units, order and GTS-7 reduction values as one value for the file commands.
    FileSettings file_settings() const;
    QString angle_unit_text() const;
    QString distance_unit_text() const;

    // Reads [Setting] and sets every control and caption from it.
    void Load();
    // Checks the grid scale text; puts back the last accepted value (with the message
    // input_wrong_data) when it is not a number in 0.9..1.1. True when the text was accepted.
    bool GridScaleEditExit();
    void ResetClick();
    void ConfirmClick();

    QLabel* AngUnitLAB;
    QComboBox* AngUnitCBB;
    QLabel* DistUnitLAB;
    QComboBox* DistUnitCBB;
    QLabel* TwoDiffLAB;
    QComboBox* KOptionCBB;
    QLabel* GridScaleLAB;
    QLineEdit* GridScaleEdit;
    QLabel* CoordOrderLAB;
    QComboBox* CoordOrderCBB;
    QPushButton* Reset;
    QPushButton* Confirm;

signals:
    // The dialog was closed, by Confirm or any other way.
    void Closed();
    // After Confirm: the units line for the main window's hint panel.
    void UnitsConfirmed(const QString& statusText);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const UiText& texts_;
    QString ini_path_;
    double last_grid_scale_ = 1.0;
    StoredSettings value_; // as confirmed or read at start
    bool checking_ = false;
};

} // namespace telvane
