#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QVariant>

class CButton;
class QVariantAnimation;
class QWidget;

// A widget under the checked button of a group: two animations drive its left and right edges.
class CSelectionIndicator : public QObject
{
    Q_OBJECT
public:
    explicit CSelectionIndicator(QWidget* widget);
    QWidget* widget() const { return m_widget; }
    // Moves under the button; the edge on the side of the movement is the fast one.
    void moveSelectionIndicator(const CButton* button, bool animated);

private:
    void animateIndicatorEdge(QVariantAnimation* animation, int target, bool fast, bool animated);
    void applyEdges();

    QPointer<QWidget> m_widget;
    QVariantAnimation* m_left;
    QVariantAnimation* m_right;
    int m_centre = 0;
};

// Buttons that make one exclusive choice, each carrying a user value.
class CButtonGroup : public QObject
{
    Q_OBJECT
public:
    CButtonGroup(int buttonStyleKind, QObject* parent);
    explicit CButtonGroup(QObject* parent = nullptr);
    ~CButtonGroup() override;

    CButton* addButton(CButton* button, const QVariant& userData);
    CButton* addNewButton(const QVariant& userData, const QString& iconName = QString());
    QList<CButton*> buttons() const;
    CButton* buttonByValue(const QVariant& value) const;
    CButton* checkedButton() const;
    QVariant checkedValue() const;
    bool setCheckedValue(const QVariant& value);
    bool setCheckedValueSilently(const QVariant& value);
    // Called by a member whenever its checked state changes.
    void onButtonToggled(CButton* button, bool checked, bool silent);

    // Members added afterwards are not exclusive, and an unknown value unchecks them all.
    void setNoneAllowed(bool allowed);
    // A widget in the buttons' parent; the group owns the animations that move it.
    void setSelectionIndicator(QWidget* indicator);
    CSelectionIndicator* selectionIndicator() const { return m_indicator; }

signals:
    void toggled(CButton* button, QVariant userData);

private:
    void removeDestroyedButtons();
    static QVariant userValue(const CButton* button);

    QList<QPointer<CButton>> m_buttons;
    int m_buttonStyleKind;
    bool m_noneAllowed = false;
    bool m_updating = false;
    QPointer<CSelectionIndicator> m_indicator;
};
