#include "console/LabelActivator.h"

#include <QKeyEvent>
#include <QWidget>
#include <QMouseEvent>
#include <QPainter>

LabelActivator *LabelActivator::attach(QWidget *label, std::function<void()> action, Input input)
{
    return new LabelActivator(label, std::move(action), input);
}

LabelActivator::LabelActivator(QWidget *label, std::function<void()> action, Input input)
    : QObject(label)
    , m_label(label)
    , m_action(std::move(action))
    , m_input(input)
{
    m_label->setFocusPolicy(Qt::StrongFocus);
    m_label->installEventFilter(this);
}

bool LabelActivator::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_label)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (plain && (key->key() == Qt::Key_Space || key->key() == Qt::Key_Return
                      || key->key() == Qt::Key_Enter)) {
            m_action();
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        if (m_input == Input::MouseAndKeys
            && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            m_action();
            return true;
        }
        break;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        m_label->update();
        break;
    case QEvent::Paint:
        if (m_label->hasFocus()) {
            paintWithFocusFrame(event);
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void LabelActivator::paintWithFocusFrame(QEvent *paint)
{
    // The label paints itself first (event() does not pass through the
    // filters again); the frame goes on top, inside its edge so its size
    // and the layout stay as they are.
    static_cast<QObject *>(m_label)->event(paint);
    QPainter painter(m_label);
    painter.setPen(QPen(m_label->palette().color(QPalette::WindowText), 1, Qt::DashLine));
    painter.drawRect(m_label->rect().adjusted(0, 0, -1, -1));
}
