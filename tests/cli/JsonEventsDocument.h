// docs/json-events.md read as the contract it is: for each event, its fields in order with
// their types and, where the page lists them, their values.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace clitest {

class JsonEventsDocument {
public:
    struct Field {
        std::string name;
        std::string type;                 // string, integer, boolean or items
        std::vector<std::string> values;  // empty when any value goes
    };

    // The page of the source tree, read once.
    static const JsonEventsDocument& Page();
    static JsonEventsDocument Parse(const std::string& markdown);

    // What of the event the page does not describe; empty when it describes all of it.
    std::string Undocumented(const nlohmann::json& event) const;
    std::set<std::string> EventNames() const;

private:
    std::string UndocumentedFields(const nlohmann::json& object,
                                   const std::vector<Field>& fields) const;

    std::map<std::string, std::vector<Field>> m_events;
    std::vector<Field> m_itemFields;
};

}  // namespace clitest
