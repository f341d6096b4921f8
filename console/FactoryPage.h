#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class FactoryPage;
}
struct FactoryFields;
struct LiveBlockValues;
struct LoggerHeader;

// The factory page of the communications window: the header's identity and
// trip-level fields as a technician edits them, the live block as last read,
// the hand read and write fields, the memory tests and the header notes.
// This class only shows and takes back values; FactoryPageWiring runs the
// commands behind its buttons.
class FactoryPage : public QWidget
{
    Q_OBJECT

public:
    explicit FactoryPage(QWidget *parent = nullptr);
    ~FactoryPage() override;

    Ui::FactoryPage &ui() { return *m_ui; }

    // After a header read: the fields as the logger holds them.
    void showFields(const FactoryFields &fields, const LoggerHeader &header);
    // The fields as the technician has them now, over what the header gave.
    FactoryFields fields(const FactoryFields &base) const;
    void showLiveBlock(const LiveBlockValues &live);
    // The first three header lines and the status byte read at the connection.
    void showConnection(const QStringList &firstLines, const QString &statusText);
    // A new connection: the model list starts empty.
    void clearModelList();
    // Blanks everything the page shows of a logger.
    void subClearFactoryDisplay();

private:
    void fillLists();
    QList<QWidget *> loggerFields() const;

    std::unique_ptr<Ui::FactoryPage> m_ui;
};
