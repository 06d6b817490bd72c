#include "check/data_check.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zelkor {

bool DataCheck::consistent() const
{
    return std::all_of(results.begin(), results.end(), [](const CheckResult& result) { return result.passed(); });
}

[[nodiscard]] std::expected<DataCheck, Error> run_data_check(Database& db, const std::vector<InvariantCheck>& checks)
{
    ReadSnapshot snapshot(db);
    if (!snapshot.active())
        return std::unexpected(snapshot.begin_error());
    DataCheck check{db.where().display(), {}};
    for (const InvariantCheck& rule : checks) {
        auto found = rule.run(db);
        if (found)
            check.results.push_back({rule.name, *found});
        else
            check.results.push_back({rule.name, {}, found.error()});
    }
    return check;
}

QString data_check_text(const DataCheck& check, int rows)
{
    QString text = QStringLiteral("Data check of ") + check.database + u'\n';
    int failed = 0;
    for (const CheckResult& result : check.results) {
        if (result.passed()) {
            text += QStringLiteral("  pass   ") + result.name + u'\n';
            continue;
        }
        ++failed;
        if (result.error) {
            text += QStringLiteral("  FAIL   ") + result.name + QStringLiteral(": the check could not be run (")
                + result.error->detail + QStringLiteral(")\n");
            continue;
        }
        const qsizetype found = result.problems.size();
        text += QStringLiteral("  FAIL   ") + result.name + QStringLiteral(": ") + QString::number(found)
            + (found == 1 ? QStringLiteral(" problem\n") : QStringLiteral(" problems\n"));
        for (qsizetype i = 0; i < found && i < rows; ++i)
            text += QStringLiteral("           ") + result.problems[i] + u'\n';
        if (found > rows)
            text += QStringLiteral("           ... and %1 more\n").arg(found - rows);
    }
    const auto checks = qsizetype(check.results.size());
    text += failed == 0 ? QStringLiteral("All %1 checks passed: the company's data is consistent.\n").arg(checks)
                        : QStringLiteral("%1 of %2 checks failed.\n").arg(failed).arg(checks);
    return text;
}

QByteArray data_check_json(const DataCheck& check, int rows)
{
    QJsonArray results;
    for (const CheckResult& result : check.results) {
        QJsonObject entry{{QStringLiteral("name"), result.name},
                          {QStringLiteral("passed"), result.passed()},
                          {QStringLiteral("problems"), int(result.problems.size())},
                          {QStringLiteral("rows"), QJsonArray::fromStringList(result.problems.mid(0, rows))}};
        if (result.error)
            entry.insert(QStringLiteral("error"), result.error->detail);
        results.append(entry);
    }
    const QJsonObject report{{QStringLiteral("database"), check.database},
                             {QStringLiteral("consistent"), check.consistent()},
                             {QStringLiteral("checks"), results}};
    return QJsonDocument(report).toJson(QJsonDocument::Indented);
}

} // namespace zelkor
