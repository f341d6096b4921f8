#include "tests/calibration/CalWindowFixture.h"

#include "logger/FunctionsSubs.h"

#include <QRegularExpression>
#include <QTest>

const QDate CalWindowFixture::Today(2026, 12, 10);

CalWindowFixture::CalWindowFixture(const LoggerImage &image) : LoggerWindowFixture(image)
{
}

void CalWindowFixture::openChannel(const QString &channel)
{
    openWindow();
    logOn();
    ASSERT_TRUE(connection.header.headerValid);
    cal().setChannelBox(channel);
    cal().loadChannel();
    m_writtenBefore = port.written().size();
}

QLineEdit *CalWindowFixture::box(int number)
{
    return cal().findChild<QLineEdit *>(QLatin1String(CalFields::field(number).box));
}

void CalWindowFixture::type(int number, const QString &text)
{
    QLineEdit *edit = box(number);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

QString CalWindowFixture::loggerLine(int address) const
{
    return QString::fromLatin1(logger.image().header.mid(address, 16));
}

QStringList CalWindowFixture::textWrites() const
{
    // "d" + address + "#" + 16 characters + checksum, as the transport sends it.
    static const QRegularExpression write(QStringLiteral("d([0-9A-F]{4})#(.{16})[0-9A-F]{2}\r"));
    QStringList writes;
    const QString sent = QString::fromLatin1(port.written().mid(m_writtenBefore));
    for (auto it = write.globalMatch(sent); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        writes << m.captured(1) + u' ' + m.captured(2);
    }
    return writes;
}
