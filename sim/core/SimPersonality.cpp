#include "sim/core/SimPersonality.h"

#include "sim/core/IniDocument.h"

namespace sim {

Personality ParsePersonality(std::string_view name) {
    struct Named {
        const char* name;
        Personality personality;
    };
    static constexpr Named kNames[] = {{"Od5", Personality::Od5},
                                       {"Od6", Personality::Od6},
                                       {"OdN", Personality::OdN},
                                       {"Od8", Personality::Od8}};
    for (const Named& named : kNames) {
        if (EqualsIgnoreCase(named.name, name)) {
            return named.personality;
        }
    }
    return Personality::Atidl;
}

int OverdriveVersion(Personality personality) {
    switch (personality) {
        case Personality::Atidl:
        case Personality::Od5:
            return 5;
        case Personality::Od6:
            return 6;
        case Personality::OdN:
            return 7;
        case Personality::Od8:
            return 8;
    }
    return 0;
}

bool AnswersAtidlOverdrive(Personality personality) {
    return personality == Personality::Atidl;
}

}  // namespace sim
