#pragma once
// A master window on a fresh fixture database, driven as a clerk would, with what it says and
// what it asks the host recorded.

#include "forms/common/window_model.h"
#include "services/clock.h"
#include "tests/support/printers.h"
#include "tests/support/test_database.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace zelkor::testing {

struct Notification {
    QString formx;
    QString docnox;
    QString arg2;
};

inline HostSettings master_settings(Database& db, const QString& user, const QString& data_path)
{
    HostSettings settings;
    settings.cnx = settings.dbe = settings.abcdb = &db;
    settings.BASE_CURRENCY = QStringLiteral("USD");
    settings.ZELKOR_USER = user;
    settings.ZELKOR_PATH = data_path;
    settings.ZELKOR_DATE_FORMAT = QStringLiteral("dd/mm/yyyy");
    return settings;
}

/// The text of a PDF file as pdftotext reads it; empty when the tool is missing.
inline QString pdf_text(const QString& path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

template <class Window>
class MasterWindowTest : public ::testing::Test {
protected:
    MasterWindowTest() { open_as(QStringLiteral("ADMIN")); }

    /// Opens a fresh window for the user (the previous one is dropped).
    void open_as(const QString& user)
    {
        window = std::make_unique<Window>();
        window->apply_settings(master_settings(t.db(), user, folder.path()));
        window->set_prompter(&prompter);
        QObject::connect(window.get(), &WindowModel::NotifyClients,
                         [this](const QString& formx, const QString& docnox, const QString& arg2) {
                             notifications.push_back({formx, docnox, arg2});
                         });
        window->open();
    }

    /// Gives the open window a user's rights as if it had been opened by that user.
    void become(const QString& user) { window->apply_settings(master_settings(t.db(), user, folder.path())); }

    void grant(const QString& user, bool update, bool print)
    {
        ASSERT_TRUE(t.db().execute(QStringLiteral("INSERT INTO User_right_table (form, userid, \"update\", Print, form_design)"
                                                  " VALUES (?, ?, ?, ?, FALSE)"),
                                   {window->class_name(), user, update, print}));
    }

    bool run(CommandId id) { return window->execute(id); }
    bool run(int id) { return window->execute(id); }
    Entry type(const char* field, const QString& value) { return window->type_into(QString::fromLatin1(field), value); }
    QString text(const QString& sql, const Params& params = {}) { return t.text(sql, params); }
    qint64 count(const QString& table_and_condition, const Params& params = {}) { return t.count(table_and_condition, params); }

    /// The printed file of the last "pdf viewer" notification, as text.
    QString printed_text()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            return {};
        for (auto it = notifications.rbegin(); it != notifications.rend(); ++it)
            if (it->formx.startsWith(QLatin1String("pdf viewer")))
                return pdf_text(it->docnox);
        return {};
    }

    FixedClock clock{QDate(2026, 3, 16), QTime(9, 30, 0)};
    TestDatabase t;
    QTemporaryDir folder;
    ScriptedPrompter prompter;
    std::vector<Notification> notifications;
    std::unique_ptr<Window> window;
};

} // namespace zelkor::testing
