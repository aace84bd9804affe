#include "DeliveryListing.h"

#include "db/TextTable.h"
#include "operations/GridLayouts.h"
#include "operations/SqlTexts.h"
#include "window/FillResultGrid.h"
#include "window/FormControls.h"
#include "window/MessageBoxes.h"
#include "window/ResultGrid.h"

#include <QCoreApplication>

namespace {

// A search that finds nothing would ask; the benchmarks never get there, and must not block.
class SilentBoxes : public MessageBoxes
{
public:
    bool askYesNo(const QString&, const QString&) override { return false; }
    void inform(const QString&, const QString&, Buttons, Icon) override {}
};

} // namespace

DeliveryListing::DeliveryListing(const QString& databaseFile)
    : m_db(DbTarget::sqlite(databaseFile)), m_boxes(std::make_unique<SilentBoxes>()),
      m_grid(std::make_unique<ResultGrid>(deliveryGridLayout()))
{
    m_db.DB_Connect();
    m_grid->resize(twipsRect(60, 720, 8385, 2235).size());
}

DeliveryListing::~DeliveryListing() = default;

QString DeliveryListing::searchSql()
{
    return SqlTexts::deliverySearchAll(Dialect::Sqlite);
}

void DeliveryListing::show()
{
    m_grid->show();
    paint();
}

int DeliveryListing::search()
{
    TextTable table;
    qint32 rows = 0;
    qint32 columns = 0;
    m_db.DB_Query(searchSql(), table, rows, columns);
    if (m_db.DB_Status() != 1)
        return -1;
    FillResultGrid(*m_grid, m_countBox, table, rows, m_grid->layout().columnMap(), *m_boxes);
    paint();
    return rows;
}

void DeliveryListing::clear()
{
    ClearResultGrid(*m_grid, m_countBox);
    paint();
}

qint64 DeliveryListing::tableTextBytes()
{
    TextTable table;
    qint32 rows = 0;
    qint32 columns = 0;
    m_db.DB_Query(searchSql(), table, rows, columns);
    qint64 bytes = 0;
    for (int r = 0; r < table.rowCount(); ++r)
        for (int c = 0; c < table.columnCount(); ++c)
            bytes += table.cell(r, c).size() * qint64(sizeof(char16_t));
    return bytes;
}

void DeliveryListing::paint()
{
    // The view lays its rows out from a posted event; then the viewport paints what is visible.
    QCoreApplication::processEvents();
    m_grid->viewport()->repaint();
}
