// The simulated card each scenario starts from. A state file holds the card; every key the
// file lacks is taken from the scenario named in [Sim] Scenario (or "Default").
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sim/core/IniDocument.h"

namespace sim {

struct StateKey {
    std::string section;
    std::string key;
    std::string value;
};

// Every key of the scenario's card, the Default card with the scenario's changes applied.
// An unknown name gives the Default card.
std::vector<StateKey> ScenarioKeys(std::string_view scenario);

// The names ScenarioKeys knows, Default first.
std::vector<std::string> ScenarioNames();

// Adds every key of the document's scenario that the document lacks; true when any was added.
bool CompleteFromScenario(IniDocument& doc);

}  // namespace sim
