// Which Overdrive generation the simulated card speaks ([Sim] Personality): the calls of that
// generation answer, those of every other refuse as a real driver does for a card of another
// generation (ADL_ERR_NOT_SUPPORTED).
#pragma once

#include <optional>
#include <string_view>

namespace sim {

enum class Personality {
    Atidl,  // today's card: ATIDL answers, and Overdrive 5 through ADL as well
    Od5,    // the same card without the ATIDL library
    Od6,
    OdN,
    Od8,
};

// The personality a state names; an empty or unknown name is the default, Atidl.
Personality ParsePersonality(std::string_view name);

// The version ADL2_Overdrive_Caps reports for the personality's card (OverdriveN is 7).
int OverdriveVersion(Personality personality);

// Whether the ATIDL library's Overdrive calls answer.
bool AnswersAtidlOverdrive(Personality personality);

}  // namespace sim
