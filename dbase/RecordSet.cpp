#include "dbase/RecordSet.h"

namespace halvane::dbase
{

void RecordSet::FillRecord(std::span<const DatePair> pairs, DateConverter& convert)
{
    Edit();
    for (const auto& [source, destination] : pairs) {
        const FieldValue value = Field(source);
        if (value && !value->empty()) {
            // The test and the conversion each read the field: the engine
            // is asked again rather than the first answer reused.
            const FieldValue again = Field(source);
            Reuse reuse;
            SetField(destination,
                     convert.convert(source, again ? std::string_view(*again) : "", reuse));
        } else {
            SetField(destination, " ");
        }
    }
    Update();
}

} // namespace halvane::dbase
