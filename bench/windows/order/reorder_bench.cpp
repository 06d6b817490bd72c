// "Reordering Stock Items" on a large stock: 50,000 stock items set up in three warehouses with
// two on-hand locations each (300,000 on-hand rows), 10 % of them below their minimum at the
// ship-to. One run is the whole command in the order (1016) or the requisition window (1004):
// the query, the 5,000 proposed lines filled, their tax and the totals.
#include "bench/support/bench_windows.h"

#include "core/clock.h"
#include "windows/order/POform_po.h"
#include "windows/requisition/POform_pr.h"

#include <benchmark/benchmark.h>

namespace {

using namespace zelkor;

constexpr int Items = 50000;
constexpr int ShortEvery = 10; // one item in ten is below its minimum at the ship-to

QString numbers_to(int count)
{
    return QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) ").arg(count);
}

/// The items, a third bought by a box whose rule is written box -> piece, a third by a box
/// written piece -> box, a third in pieces; every one set up in MAIN, EAST and WEST with 20
/// pieces at each of two locations; at MAIN every tenth item has a minimum of 100, the others 10.
void add_stock(Database& db)
{
    const QString item = QStringLiteral("'ITEM' || (100000 + i)");
    const QStringList statements{
        "INSERT INTO Warehouse_master_table (warehouse, description, \"default\") VALUES ('WEST', 'West depot', FALSE)",
        "INSERT INTO Warehouse_location_master_table (warehouse, location, description, \"default\") VALUES"
        " ('WEST', 'W1', NULL, TRUE), ('WEST', 'W2', NULL, FALSE)",
        numbers_to(Items) + "INSERT INTO Item_master_table (itemcode, description, item_type, kit, active, discontinued,"
            " quantity_decimals, unitcost_decimals, stock_uom, purchase_uom, cost_method, asset_accno, preferred_vendor)"
            " SELECT " + item + ", 'Item ' || i, '1', FALSE, TRUE, FALSE, 0, 4, 'pcs',"
            " CASE WHEN i % 3 = 2 THEN 'pcs' ELSE 'box' END, 'Moving average', '1300', 'V100' FROM n",
        numbers_to(Items) + "INSERT INTO UOM_conversion_table (itemcode, uom_from, uom_to, quantity_from, quantity_to)"
            " SELECT " + item + ", CASE WHEN i % 3 = 0 THEN 'box' ELSE 'pcs' END, CASE WHEN i % 3 = 0 THEN 'pcs' ELSE 'box' END,"
            " CASE WHEN i % 3 = 0 THEN 1 ELSE 12 END, CASE WHEN i % 3 = 0 THEN 12 ELSE 1 END FROM n WHERE i % 3 <> 2",
        numbers_to(Items) + "INSERT INTO Item_warehouse_table (company, itemcode, warehouse, cost_method, last_cost,"
            " minimum_stock, reorder_quantity, default_warehouse, default_location)"
            " SELECT 1, " + item + ", w.warehouse, 'Moving average', 0.5,"
            " CASE WHEN w.warehouse <> 'MAIN' OR i % " + QString::number(ShortEvery) + " = 0 THEN 100 ELSE 10 END,"
            " CASE WHEN i % 2 = 0 THEN 240 ELSE 0 END, w.warehouse = 'MAIN', CASE WHEN i % 2 = 0 THEN w.location END"
            " FROM n CROSS JOIN (SELECT 'MAIN' AS warehouse, 'A2' AS location UNION ALL SELECT 'EAST', 'E2'"
            " UNION ALL SELECT 'WEST', 'W2') w",
        numbers_to(Items) + "INSERT INTO Item_onhand_table (company, itemcode, warehouse, location, quantity, Value,"
            " stock_uom, uom) SELECT 1, " + item + ", l.warehouse, l.location, 20, 10, 'pcs', 'pcs' FROM n CROSS JOIN"
            " (SELECT warehouse, location FROM Warehouse_location_master_table) l"};
    for (const QString& sql : statements)
        bench::require(db.execute(sql), "adding the stock");
    if (db.engine() == Engine::Postgres)
        bench::require(db.execute_script(QStringLiteral("VACUUM ANALYZE")), "gathering statistics");
}

/// Runs the window's reorder command on a new document shipped to MAIN, over and over.
template <class Window>
void propose(benchmark::State& state, Engine engine, typename Window::Command command)
{
    bench::BenchDatabase b(engine);
    if (!b.ok())
        return state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
    FixedClock clock(QDate(2026, 3, 15));
    add_stock(b.db());
    ScriptedPrompter prompter;
    auto window = bench::opened<Window>(b.db(), {}, prompter);
    window->execute(CommandId::New);
    window->type_into(QStringLiteral("vendor_no"), QStringLiteral("V100"));
    window->type_into(QStringLiteral("shipto"), QStringLiteral("MAIN"));
    for (auto _ : state)
        if (!window->execute(command))
            return state.SkipWithError("reordering failed");
    // The grid ends with one empty row for the next line.
    state.counters["lines"] = window->main_grid()->row_count() - 1;
    if (window->field(QStringLiteral("total")) == QStringLiteral("0.00"))
        state.SkipWithError("nothing was proposed");
}

void order_reorder(benchmark::State& state, Engine engine)
{
    propose<POform_po>(state, engine, POform_po::Command::ReorderingStockItems);
}

void requisition_reorder(benchmark::State& state, Engine engine)
{
    propose<POform_pr>(state, engine, POform_pr::Command::ReorderingStockItems);
}

} // namespace

BENCHMARK_CAPTURE(order_reorder, sqlite, Engine::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(requisition_reorder, sqlite, Engine::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(order_reorder, pg, Engine::Postgres)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(requisition_reorder, pg, Engine::Postgres)->Unit(benchmark::kMillisecond);
