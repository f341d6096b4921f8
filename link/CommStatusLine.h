#pragma once

#include <QObject>
#include <memory>

class EventLoop;
class Timer;

// The communications window's status line: the link's last word, blanked
// again 5 s after a message unless another one comes.
class CommStatusLine : public QObject
{
    Q_OBJECT

public:
    static constexpr int BlankAfterMs = 5000;

    explicit CommStatusLine(EventLoop &loop);
    ~CommStatusLine() override;

    QString text() const { return m_text; }
    void show(const QString &text);
    void append(const QString &text);
    // Starts (or restarts) the 5-second blanking timer, tmrStatusBar.
    void startBlanking();

Q_SIGNALS:
    void textChanged(const QString &text);

private:
    void setText(const QString &text);

    QString m_text;
    std::unique_ptr<Timer> m_tmrStatusBar;
};
