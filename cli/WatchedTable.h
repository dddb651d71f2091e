// Stands between the run and the data control: hands the run the data
// control's record set, passing every operation straight through, and
// watches the walk to drive the progress bar and to tell which record a
// date belongs to.
#pragma once

#include "cli/ProgressBar.h"
#include "dbase/RecordSet.h"

namespace halvane::cli
{

class WatchedTable final : public dbase::RecordSetSource, private dbase::RecordSet
{
public:
    WatchedTable(dbase::RecordSetSource& dataControl, ProgressBar& progress)
        : m_dataControl(dataControl), m_progress(progress)
    {
    }

    // The data control's record set, seen through this watcher; nullptr
    // when the data control has none.
    dbase::RecordSet* Recordset() override;

    // Number of the record the run stands on (1 for the first).
    long currentRecord() const { return m_inner ? m_inner->AbsolutePosition() : 0; }
    long recordCount() const { return m_inner ? m_inner->RecordCount() : 0; }
    // Records saved by the run so far.
    long saved() const { return m_saved; }
    // Whether the run got a record set to walk.
    bool started() const { return m_inner != nullptr; }

private:
    void MoveLast() override { m_inner->MoveLast(); }
    void MoveFirst() override;
    void MoveNext() override;
    bool Eof() const override { return m_inner->Eof(); }
    void Edit() override { m_inner->Edit(); }
    dbase::FieldValue Field(std::string_view name) const override { return m_inner->Field(name); }
    void SetField(std::string_view name, std::string_view text) override
    {
        m_inner->SetField(name, text);
    }
    void Update() override;
    void FillRecord(std::span<const dbase::DatePair> pairs, dbase::DateConverter& convert) override;
    void Flush() override { m_inner->Flush(); }
    long RecordCount() const override { return m_inner->RecordCount(); }
    long AbsolutePosition() const override { return m_inner->AbsolutePosition(); }

    dbase::RecordSetSource& m_dataControl;
    ProgressBar& m_progress;
    dbase::RecordSet* m_inner = nullptr;
    long m_passed = 0; // records moved past in this walk
    long m_saved = 0;
};

} // namespace halvane::cli
