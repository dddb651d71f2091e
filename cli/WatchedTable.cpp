#include "cli/WatchedTable.h"

namespace halvane::cli
{

dbase::RecordSet* WatchedTable::Recordset()
{
    m_inner = m_dataControl.Recordset();
    return m_inner ? this : nullptr;
}

void WatchedTable::MoveFirst()
{
    m_inner->MoveFirst();
    m_passed = 0;
    m_progress.start(m_inner->RecordCount());
}

void WatchedTable::MoveNext()
{
    m_inner->MoveNext();
    m_progress.advance(++m_passed);
}

void WatchedTable::Update()
{
    m_inner->Update();
    ++m_saved;
}

void WatchedTable::FillRecord(std::span<const dbase::DatePair> pairs, dbase::DateConverter& convert)
{
    // The engine's own fill, in one step where it can: the record is saved
    // when it returns.
    m_inner->FillRecord(pairs, convert);
    ++m_saved;
}

} // namespace halvane::cli
