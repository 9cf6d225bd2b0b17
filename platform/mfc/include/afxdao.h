// The class library's DAO classes: workspaces, databases, record sets and their exceptions,
// with the automation date and variant types that field values travel in.
#pragma once

#include <afx.h>

#include <mfc/OleDateTime.h>
#include <mfc/OleVariant.h>
#include <mfc/DaoException.h>
#include <mfc/DaoDatabase.h>
#include <mfc/DaoRecordset.h>
