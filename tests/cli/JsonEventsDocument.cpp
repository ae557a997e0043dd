#include "tests/cli/JsonEventsDocument.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace clitest {

namespace {

// The text between the first pair of backticks at or after `from`; empty when there is none.
std::string Quoted(const std::string& text, size_t from = 0) {
    const size_t open = text.find('`', from);
    const size_t close = open == std::string::npos ? open : text.find('`', open + 1);
    return close == std::string::npos ? std::string() : text.substr(open + 1, close - open - 1);
}

std::vector<std::string> Cells(const std::string& row) {
    std::vector<std::string> cells;
    std::istringstream parts(row.substr(1));
    for (std::string cell; std::getline(parts, cell, '|');) {
        const size_t first = cell.find_first_not_of(' ');
        const size_t last = cell.find_last_not_of(' ');
        cells.push_back(first == std::string::npos ? "" : cell.substr(first, last - first + 1));
    }
    return cells;
}

// "one of `a`, `b`": the listed values of a field's meaning.
std::vector<std::string> ListedValues(const std::string& meaning) {
    std::vector<std::string> values;
    const size_t list = meaning.find("one of ");
    if (list == std::string::npos) {
        return values;
    }
    size_t at = list;
    for (std::string value; !(value = Quoted(meaning, at)).empty();) {
        values.push_back(value);
        at = meaning.find('`', meaning.find('`', at) + 1) + 1;
    }
    return values;
}

bool HasType(const nlohmann::json& value, const std::string& type) {
    if (type == "string") {
        return value.is_string();
    }
    if (type == "integer") {
        return value.is_number_integer();
    }
    if (type == "boolean") {
        return value.is_boolean();
    }
    return type == "items" && value.is_array();
}

}  // namespace

const JsonEventsDocument& JsonEventsDocument::Page() {
    static const JsonEventsDocument page = [] {
        std::ifstream file(RXT9_JSON_EVENTS_PAGE);
        std::ostringstream text;
        text << file.rdbuf();
        return Parse(text.str());
    }();
    return page;
}

JsonEventsDocument JsonEventsDocument::Parse(const std::string& markdown) {
    JsonEventsDocument page;
    std::vector<Field>* table = nullptr;
    std::istringstream lines(markdown);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("### ", 0) == 0) {
            table = &page.m_events[Quoted(line)];
        } else if (line.rfind("An `items` value", 0) == 0) {
            table = &page.m_itemFields;
        } else if (line.rfind("| `", 0) == 0 && table != nullptr) {
            const std::vector<std::string> cells = Cells(line);
            if (cells.size() >= 3) {
                table->push_back({Quoted(cells[0]), cells[1], ListedValues(cells[2])});
            }
        } else if (line.rfind("## ", 0) == 0) {
            table = nullptr;
        }
    }
    return page;
}

std::set<std::string> JsonEventsDocument::EventNames() const {
    std::set<std::string> names;
    for (const auto& [name, fields] : m_events) {
        names.insert(name);
    }
    return names;
}

std::string JsonEventsDocument::Undocumented(const nlohmann::json& event) const {
    if (!event.is_object() || !event.contains("event") || !event["event"].is_string()) {
        return "not an event";
    }
    const auto described = m_events.find(event["event"].get<std::string>());
    if (described == m_events.end()) {
        return "no such event";
    }
    nlohmann::json fields = event;
    fields.erase("event");
    return UndocumentedFields(fields, described->second);
}

std::string JsonEventsDocument::UndocumentedFields(const nlohmann::json& object,
                                                   const std::vector<Field>& fields) const {
    std::string problems;
    for (const auto& entry : object.items()) {
        const std::string& name = entry.key();
        const nlohmann::json& value = entry.value();
        const auto field = std::find_if(fields.begin(), fields.end(),
                                        [&](const Field& known) { return known.name == name; });
        if (field == fields.end()) {
            problems += "field " + name + " undocumented; ";
        } else if (!HasType(value, field->type)) {
            problems += "field " + name + " is not of type " + field->type + "; ";
        } else if (!field->values.empty() &&
                   std::find(field->values.begin(), field->values.end(),
                             value.get<std::string>()) == field->values.end()) {
            problems += "field " + name + " has the unlisted value " + value.dump() + "; ";
        } else if (field->type == "items") {
            for (const nlohmann::json& item : value) {
                problems += UndocumentedFields(item, m_itemFields);
            }
        }
    }
    for (const Field& field : fields) {
        if (!object.contains(field.name)) {
            problems += "field " + field.name + " missing; ";
        }
    }
    return problems;
}

}  // namespace clitest
