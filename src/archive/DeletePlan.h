#pragma once

#include "db/Dialect.h"

#include <QString>
#include <QStringList>
#include <vector>

// One table's part of a delete. Both the statement sent and the copy of the rows it removes are
// built from these pieces, so the two cannot select differently.
struct DeletePlan
{
    QString table;
    // The condition as the statement writes it after whereWord. Only a part made by whole() has
    // none: an empty condition never means "every row".
    QString where;
    // The statement's own spelling around table and condition ("DELETE FROM " and " WHERE ", or
    // lower case, line breaks and all), kept byte for byte as it has always been sent.
    QString deleteFrom;
    QString whereWord;
    bool wholeTable = false;

    static DeletePlan rows(QString deleteFrom, QString table, QString whereWord, QString where);
    static DeletePlan whole(QString deleteFrom, QString table);

    QString statement() const;
    // The copy of exactly the rows the statement removes (on SQL Server read under the locks the
    // delete will take); empty for a part whose condition is missing, which must not run.
    QString copyQuery(Dialect dialect) const;
};

// A delete of one or more tables, sent as one text.
struct Deletion
{
    std::vector<DeletePlan> parts;
    QString separator; // between the parts' statements

    QString statement() const;
    QStringList tables() const;
};
