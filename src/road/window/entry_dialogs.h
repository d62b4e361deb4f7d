// The road window's four entry dialogs: intersection point, line element, grade point and stake.
// Each checks its boxes, converts them and writes the road window's pending record of its kind.
// Created once at start and reused.
#pragma once

#include "road/engine/road_records.h"

#include <QDialog>

#include <optional>
#include <string_view>
#include <vector>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace telvane {
class UiText;
}

namespace telvane::road {

class EntryDialog : public QDialog {
    Q_OBJECT
public:
    // 1 a new record (the boxes start empty), 2 an edit (the caller fills the boxes first).
    int EntryMode = 0;
    QPushButton* Button1; // submit
    QPushButton* Button2; // cancel

    // Shows the dialog modally; true when it was submitted.
    bool Run();
    // Submit: every required box filled and every number a number, then the pending record.
    void Button1Click();

protected:
    EntryDialog(const UiText& texts, const char* name, QWidget* parent);
    // A labelled box in the next place of the grid; the label's text is key + suffix.
    QLineEdit* add_box(const char* name, QLabel*& label, std::string_view key,
                       std::string_view key2 = {}, const char* suffix = "");
    QComboBox* add_list(const char* name, QLabel*& label, std::string_view key);
    // The box's text as a number; otherwise a message naming the box, the focus on it.
    std::optional<double> number(QLineEdit* box, QLabel* label) const;
    // Says data_empty with the focus on the first empty required box; false then.
    bool all_filled(const std::vector<QWidget*>& required) const;
    virtual bool Submit() = 0;
    virtual void Prepare() {}

    void showEvent(QShowEvent* event) override;

    const UiText& texts_;

private:
    struct Labelled {
        QLabel* label;
        QWidget* box;
        std::string_view key, key2;
        const char* suffix;
    };
    void apply_texts();
    QGridLayout* grid_;
    std::vector<Labelled> boxes_;
};

// A number as the road tables show it, for an entry box.
QString number_text(double v);

class TFormIntersectionInport : public EntryDialog {
    Q_OBJECT
public:
    TFormIntersectionInport(const UiText& texts, IntersectionPointInfo& pending,
                            QWidget* parent = nullptr);
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7;
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7;
    // The boxes with a record's values, for an Update (Submit reads them back).
    void Show(const IntersectionPointInfo& p);

protected:
    bool Submit() override;

private:
    IntersectionPointInfo& pending_;
};

class TFormMainPileInport : public EntryDialog {
    Q_OBJECT
public:
    TFormMainPileInport(const UiText& texts, PlaneInfo& pending, QWidget* parent = nullptr);
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7;
    QComboBox* ComboBox1; // kind: straight, circle, clothoid
    QComboBox* ComboBox2; // direction: left, right, none
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5;
    // Fills the two lists (kind and direction) in the language on show.
    void FillLists();
    void ComboBox1Change(int index);
    void Show(const PlaneInfo& e);

protected:
    bool Submit() override;
    void Prepare() override;

private:
    PlaneInfo& pending_;
};

class TFormlongSlopesInport : public EntryDialog {
    Q_OBJECT
public:
    TFormlongSlopesInport(const UiText& texts, LongSlopesInfo& pending, QWidget* parent = nullptr);
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5;
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5;
    void Show(const LongSlopesInfo& g);

protected:
    bool Submit() override;

private:
    LongSlopesInfo& pending_;
};

class TFormPileInport : public EntryDialog {
    Q_OBJECT
public:
    TFormPileInport(const UiText& texts, Pile& pending, QWidget* parent = nullptr);
    QLabel* Label1;
    QLineEdit* Edit1;
    // `chainage` as the user reads it (the design's station).
    void Show(double chainage);

protected:
    bool Submit() override;

private:
    Pile& pending_;
};

} // namespace telvane::road
