#pragma once
// A master window on a fresh fixture database, driven as a clerk would, with what it says and
// what it asks the host recorded.

#include "core/clock.h"
#include "tests/support/printers.h"
#include "tests/support/test_database.h"
#include "tests/support/window_test_support.h"
#include "windows/base/window_model.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace zelkor::testing {

template <class Window>
class MasterWindowTest : public ::testing::Test, protected WindowTestBench {
protected:
    MasterWindowTest() { open_as(QStringLiteral("ADMIN")); }

    /// Opens a fresh window for the user (the previous one is dropped). On PostgreSQL it works
    /// with only the grants of its window's roles, while the test's own statements are the owner's.
    void open_as(const QString& user)
    {
        window = std::make_unique<Window>();
        window->apply_settings(window_settings(window_db(), user, folder.path()));
        window->set_prompter(&prompter);
        record_notifications(*window, notifications);
        window->open();
    }

    /// Gives the open window a user's rights as if it had been opened by that user.
    void become(const QString& user) { window->apply_settings(window_settings(window_db(), user, folder.path())); }
    Database& window_db() { return t.with_rights_of(window->class_name()); }

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
        for (auto it = notifications.rbegin(); it != notifications.rend(); ++it)
            if (it->formx.startsWith(QLatin1String("pdf viewer")))
                return pdf_text(it->docnox);
        return {};
    }

    std::unique_ptr<Window> window;
};

} // namespace zelkor::testing
