#pragma once

#include <QObject>
#include <QString>

namespace zelkor {
class Database;
class POclass;
}

namespace zelkor::host {

class HostWindow;

/// A notification the host does not act on, as a line of its log: "Vendor Master: V100",
/// "A window closed".
QString readable_notification(const QString& formx, const QString& docnox, const QString& arg2);

/// The host's answer to the module's notifications: opens the purchasing window asked for and
/// shows the document, runs the hand-offs between windows, shows PDF files, print queries and
/// the lines of journal entries, inventory documents and payables, and logs what belongs to other modules
/// of the suite (masters).
class NotificationRouter : public QObject {
    Q_OBJECT
public:
    NotificationRouter(POclass& facade, HostWindow& window, Database& db, QObject* parent = nullptr);

    /// What the host did with a notification, for the log.
    enum class Handling { Opened, HandedOff, Shown, Logged };
    Handling handle(const QString& formx, const QString& docnox, const QString& arg2);

private:
    bool is_order_number(const QString& docno);
    /// Whether a "Bill Entry" request names a payable (by its key) rather than a bill.
    bool is_payable_key(const QString& key);
    void show_report_query(const QString& query, const QString& arg2);
    /// Shows the lines of a journal entry, an inventory document or a payable by its key.
    void show_document_lines(const QString& formx, const QString& key, const QString& number);
    void show_pdf(const QString& path, bool landscape);

    POclass& m_facade;
    HostWindow& m_window;
    Database& m_db;
};

} // namespace zelkor::host
