-- Compact data set the tests build on: fixed fiscal years 2025, 2026 and 2027 (calendar
-- years, twelve periods), so that expected document numbers and amounts never move.
--
-- Key ids
--   Company        1, base currency USD; foreign currency EUR
--   EUR rates      2025-12-01 1.30   2026-01-01 1.25   2026-04-01 1.20   2027-01-01 1.10
--   Working period 2026 periods 1 to 12; history posting allowed for 2025 period 12 only
--   Numbering      every type (pr po ro vi ld gl ir ij pp ip) and year starts at 1;
--                  format PREFIX-YY-NNNNN, e.g. PO-26-00001; keys 1po-1, 1po-2, ...
--   Accounts       1000 cash (class Cash)         1050 bank USD (bank OPER)
--                  1300 inventory                 1400 tax recoverable
--                  1450 vendor prepayments        1500 office equipment
--                  2000 AP trade                  2010 AP EUR vendors (carries EUR)
--                  2050 AP suspense (clearing)    2100 Visa card payable
--                  3000 owner's capital           3900 current earnings (type X)
--                  4000 sales                     4100 purchase discounts
--                  4200 realized gain             5100 purchase variance
--                  5200 freight and duty          6000 office supplies
--                  6200 non-recoverable tax       6300 realized loss
--                  6500 allocated 60 % to 6510 and 40 % to 6520
--                  6900 inactive expense account
--   Parameters     AP suspense 2050, purchase discount 4100, purchase variance 5100,
--                  GL realized gain 4200, GL realized loss 6300; a non-default purchase
--                  variance row (5000) comes first and must be ignored
--   Vendors        V100 Acme Industrial Supply (USD, term 30, tax ST, AP 2000)
--                  V200 O'Brien Supply (USD, term 210 = 2 % 10 net 30, tax ST, AP 2000)
--                  V300 Europa Komponenten GmbH (EUR, term 30, tax VAT50, AP 2010)
--                  V400 Unconfigured Vendor (USD, no payable account)
--                  V900 Old Mill Traders (discontinued and inactive)
--   Terms          00 due on receipt, 30 net 30, 210 2 % 10 net 30
--   Items          WIDGET  stock, FIFO, stock unit pcs, bought by box (1 box = 12 pcs,
--                          1 carton = 144 pcs), default MAIN/A1, also set up in EAST/E1
--                  BOLT    stock, LIFO, pcs, 1 box = 100 pcs; its carton rule defers to the
--                          company-wide rule 1 carton = 12 box; default MAIN/A2
--                  PAINT   stock, Standard cost 10.00 per can, MAIN/A1, maximum stock 100
--                  GLUE    stock, Moving average, kg (2 decimals), EAST/E1, 20 kg on hand
--                          worth 60.00, minimum 50, reorder 100
--                  MANUAL  non-stock in master (type 2), each, MAIN/A1
--                  OLDPART stock, inactive and discontinued
--   Warehouses     MAIN (default; locations A1 default, A2), EAST (E1 default, E2)
--   Tax codes      ST      STATE 5 %, fully recoverable (default code)
--                  GP      GST 5 % compounding, fully recoverable, then PST 7.5 % expensed
--                  VAT50   VAT 10 %, half recoverable, half expensed
--                  CAP     CITY 8 %, not recoverable, added to item cost
--                  EXEMPT  no authority
--                  SALES   a sales code, never offered on purchases
--                  Every authority: recoverable to 1400, expensed to 6200
--   Charges        FREIGHT (5200, EXEMPT), HANDLING (5200, ST)
--   Banks, cards   OPER (account 1050); VISA (payable 2100); AMEX (in use, no payable account)
--   Users          ADMIN: every right on all fifteen windows; CLERK: POform_pr update only;
--                  GUEST: no rights at all. Employees ADMIN and JSMITH.
--   Balances       every account has zero "A" rows in USD for 2025-2027; 2010 also has its
--                  EUR "F" and "E" rows. Other accounts get EUR rows at their first posting.
--                  GLUE's opening stock is not in the ledger: only movements are compared.

INSERT INTO Company_table (company_no, company_name, address, phone, fax, email, base_currency) VALUES
(1, 'Fixture Trading Co.', '1 Test Street, Springfield, IL 62701, USA', '217-555-0100', NULL, NULL, 'USD');

INSERT INTO Working_currency_table (currency, description) VALUES
('USD', 'US dollar'),
('EUR', 'Euro');

INSERT INTO Exchange_rate_table (currency, rate_date, rate) VALUES
('EUR', '2025-12-01', 1.30),
('EUR', '2026-01-01', 1.25),
('EUR', '2026-04-01', 1.20),
('EUR', '2027-01-01', 1.10);

INSERT INTO Fiscalyear_table (fyear, StartDate, EndDate, history) VALUES
('2025', '2025-01-01', '2025-12-31', FALSE),
('2026', '2026-01-01', '2026-12-31', FALSE),
('2027', '2027-01-01', '2027-12-31', FALSE);

INSERT INTO COA_config_table (company, base_currency, activate_working_period,
    working_start_fyear, working_start_period, working_end_fyear, working_end_period,
    allow_history_update, allow_start_fyear, allow_start_period, allow_end_fyear, allow_end_period) VALUES
(1, 'USD', TRUE, '2026', 1, '2026', 12, TRUE, '2025', 12, '2025', 12);

INSERT INTO Next_number_config_table (company, structure, fyear_digit, seperator1, seperator2) VALUES
(1, '1', 2, TRUE, TRUE);

INSERT INTO Next_number_format_table (doctype, prefix, running_no_digit) VALUES
('pr', 'PR', 5),
('po', 'PO', 5),
('ro', 'RO', 5),
('vi', 'VI', 5),
('ld', 'LD', 5),
('gl', 'GL', 5),
('ir', 'IR', 5),
('ij', 'IJ', 5),
('pp', 'PP', 5),
('ip', 'IP', 5);

INSERT INTO Next_number_fkey_table (company, doctype, fkeyno) VALUES
(1, 'pr', 1),
(1, 'po', 1),
(1, 'ro', 1),
(1, 'vi', 1),
(1, 'ld', 1),
(1, 'gl', 1),
(1, 'ir', 1),
(1, 'ij', 1),
(1, 'pp', 1),
(1, 'ip', 1);

INSERT INTO Docno_master_table (company, doctype, fiscalyear, nextdocno)
SELECT 1, n.doctype, f.fyear, 1 FROM Next_number_format_table n CROSS JOIN Fiscalyear_table f;

INSERT INTO Account_class_table (class_name, parent, class_type, description) VALUES
('Cash', 'CURRENT ASSETS', 'ASSETS', NULL),
('Bank', 'CURRENT ASSETS', 'ASSETS', NULL),
('Tax Recoverable', 'CURRENT ASSETS', 'ASSETS', NULL),
('Prepaid Expenses', 'CURRENT ASSETS', 'ASSETS', NULL),
('Inventory', 'INVENTORY', 'ASSETS', NULL),
('Fixed Assets', 'FIXED ASSETS', 'ASSETS', NULL),
('Accounts Payable', 'CURRENT LIABILITIES', 'LIABILITIES', NULL),
('Accrued Liabilities', 'CURRENT LIABILITIES', 'LIABILITIES', NULL),
('Equity', 'EQUITY', 'EQUITY', NULL),
('Revenue', 'REVENUE', 'REVENUE', NULL),
('Other Income', 'REVENUE', 'REVENUE', NULL),
('Cost of Goods sold', 'EXPENSE', 'EXPENSE', NULL),
('Operating Expenses', 'EXPENSE', 'EXPENSE', NULL);

INSERT INTO Account_master_table (accno, accname, type, accclass, parent, class_type, acctype, debit, inactive, acccode) VALUES
('1000', 'Cash on hand', 'A', 'Cash', 'CURRENT ASSETS', 'ASSETS', 'Balance Sheet', TRUE, FALSE, '1000'),
('1050', 'Bank - operating USD', 'A', 'Bank', 'CURRENT ASSETS', 'ASSETS', 'Balance Sheet', TRUE, FALSE, '1050'),
('1300', 'Inventory', 'A', 'Inventory', 'INVENTORY', 'ASSETS', 'Balance Sheet', TRUE, FALSE, '1300'),
('1400', 'Tax recoverable', 'A', 'Tax Recoverable', 'CURRENT ASSETS', 'ASSETS', 'Balance Sheet', TRUE, FALSE, '1400'),
('1450', 'Vendor prepayments', 'A', 'Prepaid Expenses', 'CURRENT ASSETS', 'ASSETS', 'Balance Sheet', TRUE, FALSE, '1450'),
('1500', 'Office equipment', 'A', 'Fixed Assets', 'FIXED ASSETS', 'ASSETS', 'Balance Sheet', TRUE, FALSE, '1500'),
('2000', 'Accounts payable - trade', 'A', 'Accounts Payable', 'CURRENT LIABILITIES', 'LIABILITIES', 'Balance Sheet', FALSE, FALSE, '2000'),
('2010', 'Accounts payable - EUR vendors', 'A', 'Accounts Payable', 'CURRENT LIABILITIES', 'LIABILITIES', 'Balance Sheet', FALSE, FALSE, '2010'),
('2050', 'AP suspense', 'A', 'Accrued Liabilities', 'CURRENT LIABILITIES', 'LIABILITIES', 'Balance Sheet', FALSE, FALSE, '2050'),
('2100', 'Visa card payable', 'A', 'Accrued Liabilities', 'CURRENT LIABILITIES', 'LIABILITIES', 'Balance Sheet', FALSE, FALSE, '2100'),
('3000', 'Owner''s capital', 'A', 'Equity', 'EQUITY', 'EQUITY', 'Balance Sheet', FALSE, FALSE, '3000'),
('3900', 'Current earnings', 'X', 'Equity', 'EQUITY', 'EQUITY', 'Balance Sheet', FALSE, FALSE, '3900'),
('4000', 'Sales', 'A', 'Revenue', 'REVENUE', 'REVENUE', 'Income Statement', FALSE, FALSE, '4000'),
('4100', 'Purchase discounts', 'A', 'Other Income', 'REVENUE', 'REVENUE', 'Income Statement', FALSE, FALSE, '4100'),
('4200', 'Realized exchange gain', 'A', 'Other Income', 'REVENUE', 'REVENUE', 'Income Statement', FALSE, FALSE, '4200'),
('5000', 'Cost of goods sold', 'A', 'Cost of Goods sold', 'EXPENSE', 'EXPENSE', 'Income Statement', TRUE, FALSE, '5000'),
('5100', 'Purchase price variance', 'A', 'Cost of Goods sold', 'EXPENSE', 'EXPENSE', 'Income Statement', TRUE, FALSE, '5100'),
('5200', 'Freight and duty', 'A', 'Operating Expenses', 'EXPENSE', 'EXPENSE', 'Income Statement', TRUE, FALSE, '5200'),
('6000', 'Office supplies', 'A', 'Operating Expenses', 'EXPENSE', 'EXPENSE', 'Income Statement', TRUE, FALSE, '6000'),
('6200', 'Non-recoverable tax', 'A', 'Operating Expenses', 'EXPENSE', 'EXPENSE', 'Income Statement', TRUE, FALSE, '6200'),
('6300', 'Realized exchange loss', 'A', 'Operating Expenses', 'EXPENSE', 'EXPENSE', 'Income Statement', TRUE, FALSE, '6300'),
('6500', 'Shared facility costs', 'A', 'Operating Expenses', 'EXPENSE', 'EXPENSE', 'Income Statement', TRUE, FALSE, '6500'),
('6510', 'Facility costs - store', 'A', 'Operating Expenses', 'EXPENSE', 'EXPENSE', 'Income Statement', TRUE, FALSE, '6510'),
('6520', 'Facility costs - warehouse', 'A', 'Operating Expenses', 'EXPENSE', 'EXPENSE', 'Income Statement', TRUE, FALSE, '6520'),
('6900', 'Closed expense account', 'A', 'Operating Expenses', 'EXPENSE', 'EXPENSE', 'Income Statement', TRUE, TRUE, '6900');

INSERT INTO Allocation_Account_table (allocate_accno, accno, Percent) VALUES
('6500', '6510', 60),
('6500', '6520', 40);

-- The non-default row is written first, so a lookup that forgets "default" = TRUE picks it.
INSERT INTO Account_Parameters_table (module, parameter_name, "default", accno, description) VALUES
('PO', 'purchase variance account', FALSE, '5000', 'Former variance account'),
('AP', 'AP suspense account', TRUE, '2050', NULL),
('PO', 'purchase discount account', TRUE, '4100', NULL),
('PO', 'purchase variance account', TRUE, '5100', NULL),
('GL', 'GL realized gain account', TRUE, '4200', NULL),
('GL', 'GL realized loss account', TRUE, '6300', NULL);

INSERT INTO Account_currency_table (accno, currency, Description, revalue) VALUES
('2010', 'EUR', ' ', FALSE);

INSERT INTO Balance_table (company, ledgertype, accno, currency, amount, base_amount, acccode)
SELECT 1, 'A', accno, 'USD', 0, 0, acccode FROM Account_master_table;

INSERT INTO Balance_table (company, ledgertype, accno, currency, amount, base_amount, acccode) VALUES
(1, 'F', '2010', 'EUR', 0, 0, '2010');

INSERT INTO Balance_period_table (company, fyear, ledgertype, accno, currency, acccode)
SELECT 1, f.fyear, 'A', a.accno, 'USD', a.acccode FROM Account_master_table a CROSS JOIN Fiscalyear_table f;

INSERT INTO Balance_period_table (company, fyear, ledgertype, accno, currency, acccode) VALUES
(1, '2025', 'F', '2010', 'EUR', '2010'),
(1, '2026', 'F', '2010', 'EUR', '2010'),
(1, '2027', 'F', '2010', 'EUR', '2010'),
(1, '2025', 'E', '2010', 'EUR', '2010'),
(1, '2026', 'E', '2010', 'EUR', '2010'),
(1, '2027', 'E', '2010', 'EUR', '2010');

INSERT INTO Payment_term_table (term_no, term_name, payment_term, duedays, early_days, early_discount) VALUES
('00', 'Due on receipt', 'Due on receipt', 0, 0, 0),
('30', 'Net 30 days', 'Net 30', 30, 0, 0),
('210', '2% 10, net 30', '2/10 net 30', 30, 10, 2);

INSERT INTO Employee_table (employee_id, employee_name, department) VALUES
('ADMIN', 'System Administrator', NULL),
('JSMITH', 'John Smith', NULL);

INSERT INTO Bank_master_table (bank_code, bank_name, bank_branch, bank_account_type, account_no, currency) VALUES
('OPER', 'First National Bank', 'Downtown', 'Checking', '1050', 'USD');

INSERT INTO Credit_card_master_table (card_name, payable_accno, used) VALUES
('VISA', '2100', TRUE),
('AMEX', NULL, TRUE);

INSERT INTO Country_table (country) VALUES
('USA');

INSERT INTO Tax_authority_table (tax_authority, description, acc_recoverable, acc_expense, acc_payable) VALUES
('STATE', 'State sales tax', '1400', '6200', NULL),
('GST', 'Goods and services tax', '1400', '6200', NULL),
('PST', 'Provincial sales tax', '1400', '6200', NULL),
('VAT', 'Value added tax', '1400', '6200', NULL),
('CITY', 'City sales tax', '1400', '6200', NULL);

INSERT INTO Tax_code_table (tax_code, description, transaction_type, "default") VALUES
('ST', 'State tax 5%', 'purchase', TRUE),
('GP', 'GST 5% and PST 7.5% on the amount plus GST', 'purchase', FALSE),
('VAT50', 'VAT 10%, half recoverable', 'purchase', FALSE),
('CAP', 'City tax 8%, added to item cost', 'purchase', FALSE),
('EXEMPT', 'Tax exempt', 'purchase', FALSE),
('SALES', 'State tax on sales', 'sales', FALSE);

INSERT INTO Tax_code_details_table (tax_code, item_no, tax_authority, Rate, taxable, min_charged, max_charged, percent_refund, include_itemcost, transaction_type) VALUES
('ST', 1, 'STATE', 5, FALSE, NULL, NULL, 100, FALSE, 'purchase'),
('GP', 1, 'GST', 5, TRUE, NULL, NULL, 100, FALSE, 'purchase'),
('GP', 2, 'PST', 7.5, FALSE, NULL, NULL, 0, FALSE, 'purchase'),
('VAT50', 1, 'VAT', 10, FALSE, NULL, NULL, 50, FALSE, 'purchase'),
('CAP', 1, 'CITY', 8, FALSE, NULL, NULL, 0, TRUE, 'purchase'),
('SALES', 1, 'STATE', 5, FALSE, NULL, NULL, 0, FALSE, 'sales');

INSERT INTO Warehouse_master_table (warehouse, description, Address, "default") VALUES
('MAIN', 'Main warehouse', '1 Test Street, Springfield, IL 62701, USA', TRUE),
('EAST', 'East depot', '8 Depot Lane, Decatur, IL 62521, USA', FALSE);

INSERT INTO Warehouse_location_master_table (warehouse, location, description, "default") VALUES
('MAIN', 'A1', NULL, TRUE),
('MAIN', 'A2', NULL, FALSE),
('EAST', 'E1', NULL, TRUE),
('EAST', 'E2', NULL, FALSE);

INSERT INTO UOM_table (uom, description) VALUES
('pcs', 'Pieces'),
('box', 'Box'),
('carton', 'Carton'),
('can', 'Can'),
('kg', 'Kilogram'),
('each', 'Each');

INSERT INTO UOM_conversion_table (itemcode, uom_from, uom_to, quantity_from, quantity_to) VALUES
('WIDGET', 'box', 'pcs', 1, 12),
('WIDGET', 'carton', 'pcs', 1, 144),
('BOLT', 'box', 'pcs', 1, 100),
('BOLT', 'carton', 'box', 0, 0),
('*', 'carton', 'box', 1, 12);

INSERT INTO Item_master_table (itemcode, description, long_description, short_name, item_type, kit, active, discontinued,
    quantity_decimals, unitcost_decimals, stock_uom, purchase_uom, cost_method, asset_accno, vari_accno, reorder_quantity, preferred_vendor) VALUES
('WIDGET', 'Widget', NULL, 'WID', '1', FALSE, TRUE, FALSE, 0, 4, 'pcs', 'box', 'FIFO', '1300', '5100', 0, 'V100'),
('BOLT', 'Bolt', NULL, NULL, '1', FALSE, TRUE, FALSE, 0, 4, 'pcs', 'box', 'LIFO', '1300', '5100', 0, 'V100'),
('PAINT', 'Paint can', NULL, NULL, '1', FALSE, TRUE, FALSE, 0, 2, 'can', 'can', 'Standard cost', '1300', '5100', 0, 'V200'),
('GLUE', 'Glue', NULL, NULL, '1', FALSE, TRUE, FALSE, 2, 4, 'kg', 'kg', 'Moving average', '1300', '5100', 100, 'V200'),
('MANUAL', 'Operating manual', NULL, NULL, '2', FALSE, TRUE, FALSE, 0, 2, 'each', 'each', NULL, '6000', NULL, 0, 'V100'),
('OLDPART', 'Old part', NULL, NULL, '1', FALSE, FALSE, TRUE, 0, 2, 'pcs', 'pcs', 'FIFO', '1300', '5100', 0, NULL);

INSERT INTO Item_warehouse_table (company, itemcode, warehouse, cost_method, standard_cost, last_cost, last_cost_plus,
    minimum_stock, maximum_stock, reorder_quantity, default_warehouse, default_location, allow_negative_stock) VALUES
(1, 'WIDGET', 'MAIN', 'FIFO', 0, 0, 0, 0, NULL, 0, TRUE, 'A1', FALSE),
(1, 'WIDGET', 'EAST', 'FIFO', 0, 0, 0, 0, NULL, 0, FALSE, 'E1', FALSE),
(1, 'BOLT', 'MAIN', 'LIFO', 0, 0, 0, 0, NULL, 0, TRUE, 'A2', FALSE),
(1, 'PAINT', 'MAIN', 'Standard cost', 10.00, 0, 0, 0, 100, 0, TRUE, 'A1', FALSE),
(1, 'GLUE', 'EAST', 'Moving average', 0, 3.00, 3.00, 50, NULL, 100, TRUE, 'E1', FALSE),
(1, 'MANUAL', 'MAIN', NULL, 0, 0, 0, 0, NULL, 0, TRUE, 'A1', FALSE),
(1, 'OLDPART', 'MAIN', 'FIFO', 0, 0, 0, 0, NULL, 0, TRUE, 'A1', FALSE);

INSERT INTO Item_onhand_table (company, itemcode, warehouse, location, quantity, Value, order_quantity, po_quantity, stock_uom, uom) VALUES
(1, 'GLUE', 'EAST', 'E1', 20, 60.00, 0, 0, 'kg', 'kg');

INSERT INTO Category_master_table (category_name, description) VALUES
('HARDWARE', 'Hardware');

INSERT INTO Item_category_table (itemcode, category_name) VALUES
('WIDGET', 'HARDWARE'),
('BOLT', 'HARDWARE');

INSERT INTO Item_group_master_table (group_name, description) VALUES
('FAST', 'Fast movers');

INSERT INTO Item_group_table (itemcode, group_name) VALUES
('WIDGET', 'FAST');

INSERT INTO Vendor_group_master_table (group_name, Description) VALUES
('DOMESTIC', 'Domestic suppliers'),
('OVERSEAS', 'Overseas suppliers');

INSERT INTO Vendor_table (vendor_no, vendor_name, Description, currency, payment_term, tax_code, contact_person,
    phone1, fax1, email1, Address, city, State, country, postal_code,
    credit_limit, vendor_group, ap_accno, owing_balance, active, discontinued) VALUES
('V100', 'Acme Industrial Supply', NULL, 'USD', '30', 'ST', 'Karen Wu',
    '937-555-0142', '937-555-0143', 'orders@acme.example', '1200 Industrial Parkway', 'Dayton', 'OH', 'USA', '45402',
    25000.00, 'DOMESTIC', '2000', 0, TRUE, FALSE),
('V200', 'O''Brien Supply', NULL, 'USD', '210', 'ST', 'Sean O''Brien',
    '312-555-0177', NULL, NULL, '77 Lake Street', 'Chicago', 'IL', 'USA', '60601',
    NULL, 'DOMESTIC', '2000', 0, TRUE, FALSE),
('V300', 'Europa Komponenten GmbH', NULL, 'EUR', '30', 'VAT50', 'Jana Krause',
    '+49 69 555 0120', NULL, NULL, 'Industriestrasse 12', 'Frankfurt am Main', NULL, 'Germany', '60311',
    NULL, 'OVERSEAS', '2010', 0, TRUE, FALSE),
('V400', 'Unconfigured Vendor', NULL, 'USD', '30', 'ST', NULL,
    NULL, NULL, NULL, NULL, NULL, NULL, 'USA', NULL,
    NULL, NULL, NULL, 0, TRUE, FALSE),
('V900', 'Old Mill Traders', NULL, 'USD', '30', 'ST', NULL,
    NULL, NULL, NULL, '9 Mill Road', 'Peoria', 'IL', 'USA', '61602',
    NULL, NULL, '2000', 0, FALSE, TRUE);

INSERT INTO Item_manufacturer_partno_table (vendor_no, vendor_itemcode, itemcode, manufacturer) VALUES
('V100', 'ACM-W', 'WIDGET', NULL);

INSERT INTO Vendor_miscellaneous_charge_table (itemcode, Description, account, tax_code) VALUES
('FREIGHT', 'Freight charge', '5200', 'EXEMPT'),
('HANDLING', 'Handling fee', '5200', 'ST');

INSERT INTO Shipvia_table (shipvia_id, Description, country, active) VALUES
('UPS', 'UPS Ground', 'USA', TRUE),
('FEDEX', 'FedEx Express', 'USA', TRUE);

INSERT INTO User_table (userid, name, active) VALUES
('ADMIN', 'Administrator', TRUE),
('CLERK', 'Requisition clerk', TRUE);

INSERT INTO User_right_table (form, userid, "update", Print, form_design) VALUES
('POform_pr', 'ADMIN', TRUE, TRUE, TRUE),
('POform_po', 'ADMIN', TRUE, TRUE, TRUE),
('POform_receipt', 'ADMIN', TRUE, TRUE, TRUE),
('POform_invoice', 'ADMIN', TRUE, TRUE, TRUE),
('POform_landed', 'ADMIN', TRUE, TRUE, TRUE),
('POform_misccharge', 'ADMIN', TRUE, TRUE, TRUE),
('POform_shipvia', 'ADMIN', TRUE, TRUE, TRUE),
('POform_vendor_group', 'ADMIN', TRUE, TRUE, TRUE),
('POreport_vendor_list', 'ADMIN', TRUE, TRUE, TRUE),
('POreport_pr_transaction', 'ADMIN', TRUE, TRUE, TRUE),
('POreport_po_transaction', 'ADMIN', TRUE, TRUE, TRUE),
('POreport_receipt_transaction', 'ADMIN', TRUE, TRUE, TRUE),
('POreport_invoice_transaction', 'ADMIN', TRUE, TRUE, TRUE),
('POreport_payable_clearing', 'ADMIN', TRUE, TRUE, TRUE),
('POreport_purchase_tax', 'ADMIN', TRUE, TRUE, TRUE),
('POform_pr', 'CLERK', TRUE, FALSE, FALSE);

INSERT INTO Form_property_table (userid, form, toolbar_text, Fontbar) VALUES
('ADMIN', 'POform_po', TRUE, FALSE),
('ADMIN', 'POform_pr', NULL, NULL);

INSERT INTO Grid_property (form_name, grid_name, userid, col_order, Caption, Visible, Locked, cell_type, col_width, Alignment,
    font_name, font_size, font_italic, font_bold, font_underline, font_color, AutoCompletion, Format, row_height) VALUES
('POform_misccharge', 'dbgrid1', 'ADMIN', 0, 'item code', TRUE, FALSE, NULL, 1500, 0, NULL, NULL, NULL, NULL, NULL, NULL, FALSE, NULL, 370),
('POform_misccharge', 'dbgrid1', 'ADMIN', 1, 'description', TRUE, FALSE, NULL, 3000, 0, NULL, NULL, NULL, TRUE, NULL, NULL, FALSE, NULL, 370),
('POform_misccharge', 'dbgrid1', 'ADMIN', 2, 'account', FALSE, FALSE, NULL, 1200, 0, NULL, NULL, NULL, NULL, NULL, NULL, FALSE, '0.00', 370);

INSERT INTO Report_format_table ("user", form_name, font_name, font_size, Bold, font_color, evenrow_color, disabled_evenrow_color,
    use_grid_font, column_divider, split_page, row_height, top_margin, bottom_margin, left_margin, right_margin,
    Orientation, PaperSize, Width, Height, unit) VALUES
('ADMIN', 'POreport_vendor_list', 'DejaVu Sans', 10, FALSE, 0, 15790320, FALSE, FALSE, TRUE, NULL, 14, 36, 36, 36, 36,
    '1', 'A4 (210x297 mm)', 210, 297, 'mm');

INSERT INTO Recent_value_table (form_name, control_name, Value) VALUES
('ALL', 'evenrow_color', '0'),
('POreport_pr_transaction', 'fromdate', 'Jan 01,2026'),
('POreport_pr_transaction', 'todate', 'Dec 31,2026'),
('POreport_po_transaction', 'fromdate', 'Jan 01,2026'),
('POreport_po_transaction', 'todate', 'Dec 31,2026'),
('POreport_receipt_transaction', 'fromdate', 'Jan 01,2026'),
('POreport_receipt_transaction', 'todate', 'Dec 31,2026'),
('POreport_invoice_transaction', 'fromdate', 'Jan 01,2026'),
('POreport_invoice_transaction', 'todate', 'Dec 31,2026'),
('POreport_purchase_tax', 'cmbautho', 'All'),
('POreport_purchase_tax', 'cmbfyear', '2026'),
('POreport_purchase_tax', 'cmbperiod', '1'),
('POreport_purchase_tax', 'date1', 'Jan 01,2026'),
('POreport_purchase_tax', 'date2', 'Dec 31,2026'),
('GLreport_income_statement', 'cmbfyear', '2026'),
('GLreport_income_statement', 'cmbperiod', '1');
