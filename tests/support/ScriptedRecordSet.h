// A record set held in memory that writes every operation into a log, and
// can be told to fail at a chosen step, so that a test sees the exact order
// in which the run uses the engine and what was saved when it stopped.
#pragma once

#include "system/Failure.h"
#include "dbase/RecordSet.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace halvane::test
{

using Record = std::map<std::string, dbase::FieldValue, std::less<>>;

class ScriptedRecordSet final : public dbase::RecordSet
{
public:
    ScriptedRecordSet(std::vector<std::string>& log, std::vector<Record> records)
        : m_log(log), m_saved(std::move(records))
    {
    }

    // The records as saved by Update.
    const std::vector<Record>& saved() const { return m_saved; }
    // The record being edited, as far as it got.
    const Record& editBuffer() const { return m_edit; }
    int updates() const { return m_updates; }

    // Throws this failure on the first call whose log entry starts with
    // `entry`, or whose entry numbered by the current record does (for
    // example "Flush", or "2:SetField SHEF" for SHEF of the second record).
    void failAt(std::string entry, Failure failure)
    {
        m_failEntry = std::move(entry);
        m_failure = std::move(failure);
    }
    // Width of every destination field; a longer text is refused.
    std::size_t destinationWidth = 10;

    void MoveLast() override
    {
        step("MoveLast");
        m_pos = m_saved.empty() ? 0 : long(m_saved.size()) - 1;
    }
    void MoveFirst() override
    {
        step("MoveFirst");
        m_pos = 0;
    }
    void MoveNext() override
    {
        step("MoveNext");
        m_editing = false;
        ++m_pos;
    }
    bool Eof() const override
    {
        step("Eof");
        return m_pos >= long(m_saved.size());
    }
    void Edit() override
    {
        step("Edit");
        if (m_pos < 0 || m_pos >= long(m_saved.size()))
            throw Failure(err::NoCurrentRecord, "No current record");
        m_edit = m_saved[std::size_t(m_pos)];
        m_editing = true;
    }
    dbase::FieldValue Field(std::string_view name) const override
    {
        step("Field " + std::string(name));
        const Record& record = m_editing ? m_edit : m_saved.at(std::size_t(m_pos));
        auto it = record.find(name);
        if (it == record.end())
            throw Failure(err::ItemNotFound,
                          "Item not found in this collection: " + std::string(name));
        return it->second;
    }
    void SetField(std::string_view name, std::string_view text) override
    {
        step("SetField " + std::string(name) + "=" + std::string(text));
        if (!m_editing)
            throw Failure(err::UpdateWithoutEdit, "Update or CancelUpdate without AddNew or Edit");
        auto it = m_edit.find(name);
        if (it == m_edit.end())
            throw Failure(err::ItemNotFound,
                          "Item not found in this collection: " + std::string(name));
        if (text.size() > destinationWidth)
            throw Failure(err::FieldTooSmall, "Field " + std::string(name) + " is too small");
        it->second = std::string(text);
    }
    void Update() override
    {
        step("Update");
        if (!m_editing)
            throw Failure(err::UpdateWithoutEdit, "Update or CancelUpdate without AddNew or Edit");
        m_saved[std::size_t(m_pos)] = m_edit;
        m_editing = false;
        ++m_updates;
    }
    void Flush() override { step("Flush"); }
    long RecordCount() const override { return long(m_saved.size()); }
    long AbsolutePosition() const override { return m_pos + 1; }

private:
    void step(const std::string& entry) const
    {
        const std::string numbered = std::to_string(m_pos + 1) + ":" + entry;
        m_log.push_back(entry);
        if (!m_failEntry.empty() &&
            (entry.starts_with(m_failEntry) || numbered.starts_with(m_failEntry))) {
            m_failEntry.clear();
            throw m_failure;
        }
    }

    std::vector<std::string>& m_log;
    std::vector<Record> m_saved;
    Record m_edit;
    bool m_editing = false;
    long m_pos = -1;
    int m_updates = 0;
    mutable std::string m_failEntry;
    Failure m_failure{0, ""};
};

} // namespace halvane::test
