// The data control of a window design: a widget that is never shown, holding
// the table's data control and handing out its current record set.
#pragma once

#include "dbase/DataControl.h"

#include <QString>
#include <QWidget>

namespace halvane::ui
{

class DataControlWidget final : public QWidget, public dbase::RecordSetSource
{
    Q_OBJECT

public:
    explicit DataControlWidget(QWidget* parent = nullptr);

    // The caption the control would show ("Data1").
    QString caption() const { return m_caption; }
    void setCaption(const QString& caption) { m_caption = caption; }

    // Opens and checks the table, as when its window loads; never fails (see
    // DataControl). Holds nothing open afterwards.
    void Refresh() { m_control.Refresh(); }
    dbase::RecordSet* Recordset() override { return m_control.Recordset(); }
    // Releases the table after a run.
    void Close() { m_control.Close(); }
    const dbase::DataControl& control() const { return m_control; }

private:
    dbase::DataControl m_control;
    QString m_caption;
};

} // namespace halvane::ui
