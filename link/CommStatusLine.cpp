#include "link/CommStatusLine.h"

#include "platform/EventLoop.h"

CommStatusLine::CommStatusLine(EventLoop &loop)
    : m_tmrStatusBar(loop.createTimer())
{
    m_tmrStatusBar->setIntervalMs(BlankAfterMs);
    m_tmrStatusBar->setHandler([this] {
        m_tmrStatusBar->stop();
        setText(QString());
    });
}

CommStatusLine::~CommStatusLine() = default;

void CommStatusLine::show(const QString &text)
{
    setText(text);
}

void CommStatusLine::append(const QString &text)
{
    setText(m_text + text);
}

void CommStatusLine::startBlanking()
{
    m_tmrStatusBar->start();
}

void CommStatusLine::setText(const QString &text)
{
    m_text = text;
    Q_EMIT textChanged(m_text);
}
