#pragma once
// One step of the cycle walk: what a clerk does in one window (saves a new order, receives part
// of one, looks at the stock panes), and the registry of every step the walk chooses from.

#include "clerk.h"
#include "company.h"

#include <QString>

#include <functional>
#include <random>
#include <vector>

namespace zelkor::cycle {

/// Every choice of a walk comes from here, so that one seed replays the same walk.
class Dice {
public:
    explicit Dice(quint64 seed) : m_engine(seed) {}

    /// A whole number from `low` to `high`, both included.
    int between(int low, int high);
    bool chance(double probability);
    template <class T>
    const T& pick(const std::vector<T>& from)
    {
        return from[size_t(between(0, int(from.size()) - 1))];
    }
    QString pick(const QStringList& from) { return from[between(0, int(from.size()) - 1)]; }
    /// A quantity as a clerk types it, with at most `decimals` decimals.
    QString quantity(int decimals, int low = 1, int high = 20);
    /// A unit cost as a clerk types it: "12.5", "0.35", "120".
    QString unit_cost();

private:
    std::mt19937_64 m_engine;
};

/// What a step works with.
struct StepContext {
    Clerk& clerk;
    const Catalogue& catalogue;
    Dice& dice;
    Database& db;

    /// One row of a query's result, chosen at random; nothing when it has no rows. A database
    /// error is thrown: the walk stops on it.
    std::optional<Row> pick_row(const QString& sql, const Params& params = {});
    /// Vendors of a currency, or every vendor for an empty one.
    std::vector<VendorCode> vendors(const QString& currency = {}) const;
    /// Items of the given types ("1", "2", "5", "6").
    std::vector<ItemCode> items(const QStringList& types) const;
};

/// What a step's preparation ends with: the window filled in as the clerk typed it and the
/// command that commits it, not yet run; or nothing to commit (a reading step), or a skip when
/// the step does not apply now (no open order to receive).
struct Prepared {
    QString what;                  ///< the document and the choices, for the walk's history
    WindowModel* window = nullptr; ///< the window whose input a failed commit must keep
    std::function<bool()> commit;  ///< the committing command; empty for a reading step
    bool skipped = false;

    static Prepared skip(QString why) { return {std::move(why), nullptr, {}, true}; }
    static Prepared read(QString what) { return {std::move(what), nullptr, {}, false}; }
};

enum class Writes { No, Yes };

struct CycleStep {
    QString name;  ///< "receipt: partial"
    int weight;    ///< how often a clerk does it, against the other steps
    Writes writes;
    std::function<Prepared(StepContext&)> prepare;
};

/// Shows the saved document with this number in a document window, as typing it into the number
/// box does; false when it did not show.
bool show_document(WindowModel& window, const QString& docno);
/// Starts a new document of the vendor in the window, any unsaved work there thrown away first;
/// false when the window refused (`why` then says why).
bool start_new(StepContext& context, WindowModel& window, const QString& vendor, QString& why);
/// Chooses one of the documents a query gives (its first column the number) and shows it in the
/// window, any unsaved work there thrown away first; its number, or nothing.
std::optional<QString> show_chosen(StepContext& context, WindowModel& window, const QString& sql, const Params& params = {});

/// Types one line into row `row` of a purchasing grid: type, code, unit (sometimes another of
/// the item's units), quantity and unit cost; a free service code gets an expense account.
/// False when the window refused a value (the line is then left as it is).
bool type_line(StepContext& context, Grid& grid, int row, const ItemCode& item, const QString& quantity_caption);

/// Requisitions name no unit nor account for items outside stock; the order needs both: the clerk
/// types the item's purchase unit and an expense account into every order line without them.
/// False when the window refused one.
bool complete_taken_lines(StepContext& context, POform_po& window);

std::vector<CycleStep> requisition_steps();
std::vector<CycleStep> order_steps();
std::vector<CycleStep> receipt_steps();
std::vector<CycleStep> inquiry_steps();
std::vector<CycleStep> bill_steps();
std::vector<CycleStep> landed_steps();

/// Every step of the walk.
std::vector<CycleStep> cycle_steps();

} // namespace zelkor::cycle
