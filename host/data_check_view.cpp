#include "host/data_check_view.h"

#include "check/company_checks.h"
#include "check/data_check.h"

#include <QFontDatabase>
#include <QPlainTextEdit>

namespace zelkor::host {

void show_data_check(HostWindow& window, Database& db)
{
    auto check = run_data_check(db, company_invariant_checks());
    const QString report = check ? data_check_text(*check)
                                 : QStringLiteral("The company's data could not be read: ") + check.error().detail;
    auto* view = new QPlainTextEdit(report);
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    window.show_child(view, QStringLiteral("Check Company Data"));
    window.log(check && check->consistent() ? QStringLiteral("Data check: the company's data is consistent")
                                            : QStringLiteral("Data check: problems found, see the report"));
}

} // namespace zelkor::host
