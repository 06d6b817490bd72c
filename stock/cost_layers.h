#pragma once

#include "core/db/database.h"
#include "stock/layer_writes.h"
#include "stock/lot_ids.h"
#include "stock/on_hand_changes.h"
#include "stock/stock_settings.h"

#include <expected>
#include <vector>

namespace zelkor {

/// A cost layer to add for the document that creates it (its number and date become the
/// layer's receipt_no and receipt_date), and the on-hand row that receives the stock.
struct NewLayer {
    StockPlace place;
    QString cost_method;       ///< copied from the warehouse's setting
    Decimal quantity;          ///< stock unit; negative for stock issued while no layer covered it
    Decimal amount;            ///< base currency: exactly the value the document gives the stock
    QString stock_uom;
    int unitcost_decimals = 2; ///< of the item
};

/// Adds layers inside the caller's transaction: each gets a free lot id (see LotIds), its
/// FIFO_table row and its FIFO_history_table row; a layer below 0 is flagged negative_lot.
/// The amount is the document's value exactly and the unit cost that value per unit, to the
/// item's decimals. Each layer's on-hand row changes by the same quantity and amount. Gives the
/// lot ids in order.
[[nodiscard]] std::expected<std::vector<QString>, Error> add_layers(Database& db, const LayerDocument& document,
                                                                    const std::vector<NewLayer>& layers);
/// One layer, as add_layers.
[[nodiscard]] std::expected<QString, Error> add_layer(Database& db, const LayerDocument& document, const NewLayer& layer);

/// Adds `value` (base currency; negative to lower it) to the live layer `lot_id` of the item in
/// the place's warehouse, inside the caller's transaction after locking the warehouse row: a
/// cost correction of the stock still in the layer. The unit cost is recomputed to the item's
/// decimals, a history row records the change under the document and the place's on-hand
/// value changes by the same amount. A layer that is used up or holds no positive quantity
/// takes nothing: the stock has been issued, and the caller posts the value elsewhere. Gives
/// the change applied.
[[nodiscard]] std::expected<StockChange, Error> adjust_layer_value(Database& db, const LayerDocument& document,
                                                                   const StockPlace& place, const QString& lot_id,
                                                                   const Decimal& value);

/// What undoing a document's layer changes of one item and warehouse did.
struct LayerReversal {
    StockChange change;          ///< applied to the layers
    Decimal value_not_taken_back; ///< of value-only changes whose stock has been issued since
};

/// Undoes every layer change FIFO_history_table records for the document in the item's layers
/// of one warehouse, inside the caller's transaction, after locking the warehouse row, and
/// changes the on-hand row of `place` by what it applied to the layers. Per lot,
/// the document's net change is taken back: from the live layer (its unit cost recomputed to
/// the item's decimals, flagged negative_lot when it falls below 0, removed at 0), or, when the
/// layer has been used up, by re-creating it with the negated change. A value-only change (a
/// cost correction) is taken back in proportion to the quantity still in the layer; the rest
/// left with the stock issued since and is reported. History rows marked `Reverse` record
/// every change, so a second reversal finds nothing left to undo. Fails, for the caller to roll
/// back, when a layer would be left with value but no quantity.
[[nodiscard]] std::expected<LayerReversal, Error> reverse_document_layers(Database& db, const LayerDocument& document,
                                                                          const StockPlace& place);

/// The steps of add_layers and reverse_document_layers for callers that lock, gather and
/// write for a whole document themselves.
[[nodiscard]] std::expected<void, Error> gather_new_layers(LotIds& lots, const LayerDocument& document,
                                                           const std::vector<NewLayer>& layers, LayerWrites& writes,
                                                           OnHandChanges& on_hand, std::vector<QString>& lot_ids);
[[nodiscard]] std::expected<LayerReversal, Error> gather_layer_reversal(Database& db, const LayerDocument& document,
                                                                        const ItemWarehouse& key, int unitcost_decimals,
                                                                        LayerWrites& writes);

} // namespace zelkor
