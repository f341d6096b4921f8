#pragma once

#include <QObject>
#include <functional>

class QWidget;

// Lets a label (or a read-only field) that acts as a button be used from the
// keyboard: it joins the Tab order, shows a frame while it has the focus, and
// Space or Enter runs its action, as a click does.
class LabelActivator : public QObject
{
public:
    enum class Input {
        MouseAndKeys,
        // The label's clicks are already taken by someone else.
        KeysOnly,
    };

    // The activator belongs to the label.
    static LabelActivator *attach(QWidget *label, std::function<void()> action,
                                  Input input = Input::MouseAndKeys);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    LabelActivator(QWidget *label, std::function<void()> action, Input input);
    void paintWithFocusFrame(QEvent *paint);

    QWidget *m_label;
    std::function<void()> m_action;
    Input m_input;
};
