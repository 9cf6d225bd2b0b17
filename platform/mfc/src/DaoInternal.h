// Shared between the DAO classes' sources: the workspace and record-set state, and the turn of
// the engine's failures into CDaoException.
#pragma once

#include <afx.h>
#include <mfc/DaoRecordset.h>

#include "DaoSql.h"

#include <memory>
#include <string>
#include <vector>

struct CDaoWorkspaceState {
    std::string name;
    std::vector<CDaoDatabase*> databases;
    int level = 0;  // transactions begun and not yet ended
};

// The session of every database opened without a workspace of its own.
std::shared_ptr<CDaoWorkspaceState> DaoDefaultWorkspace();

// Raises the engine's failure as the class library's exception.
[[noreturn]] void DaoThrow(const daosql::Error& e);

// Runs an engine call, raising its failure as a CDaoException.
template <class F>
auto DaoCall(F&& f) -> decltype(f())
{
    try {
        return f();
    } catch (const daosql::Error& e) {
        DaoThrow(e);
    }
}

struct CDaoRecordsetState {
    struct Field {
        std::string name;  // as bound ("[RIT]")
        CDaoFieldExchange::ValueKind kind;
        void* pv;
        int column = -1;       // index in the cursor's columns
        bool isNull = true;
        bool dirty = false;
        daosql::Value saved;     // StoreField
        daosql::Value baseline;  // the member's value when AddNew or Edit began
    };
    std::unique_ptr<daosql::Cursor> cursor;
    std::vector<Field> fields;
    std::vector<std::pair<std::string, CDaoFieldExchange::ValueKind>> paramNames;
    daosql::Parameters params;
};

// A bound member's value for the engine, and the engine's value put into a member.
daosql::Value DaoMemberValue(CDaoFieldExchange::ValueKind kind, const void* pv);
void DaoSetMember(CDaoFieldExchange::ValueKind kind, void* pv, const daosql::Value& v);
