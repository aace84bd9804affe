#pragma once

#include "db/Mod_DB.h"

#include <QLineEdit>
#include <memory>

class MessageBoxes;
class ResultGrid;

// The unfinished-deliveries search as the maintenance window runs it: DB_Query on a demo
// database, FillResultGrid into a grid laid out and sized like flex2 with its count box, then the
// events and the paint that put the result on screen.
class DeliveryListing
{
public:
    explicit DeliveryListing(const QString& databaseFile);
    ~DeliveryListing();

    bool isConnected() const { return m_db.isConnected(); }
    const QString& error() const { return m_db.DB_ErrText(); }

    // Shows the empty grid and paints it once.
    void show();
    // Searches and paints the result; the rows listed.
    int search();
    // Back to the header row alone, painted.
    void clear();

    // UTF-16 bytes of every cell of the search's text table, field names included.
    qint64 tableTextBytes();

    static QString searchSql();

private:
    void paint();

    Mod_DB m_db;
    std::unique_ptr<MessageBoxes> m_boxes;
    std::unique_ptr<ResultGrid> m_grid;
    QLineEdit m_countBox;
};
