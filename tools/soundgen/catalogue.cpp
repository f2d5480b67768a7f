#include "catalogue.hpp"

#include "recipes.hpp"

namespace sg {

const char* familyName(Family f) {
    switch (f) {
        case Family::Umpire: return "umpire";
        case Family::Contact: return "contact";
        case Family::CrowdLoop: return "crowd loop";
        case Family::Commercial: return "commercial";
        case Family::None: break;
    }
    return "";
}

std::uint64_t seedOf(const std::string& name) {
    std::uint64_t h = 0xCBF29CE484222325ULL;  // FNV-1a
    for (unsigned char c : name) {
        h ^= c;
        h *= 0x100000001B3ULL;
    }
    return h;
}

const std::vector<SoundDef>& catalogue() {
    using F = Family;
    static const std::vector<SoundDef> sounds = {
        // Presence only.
        {"hitbat2", 0.40, false, F::Contact, false, hitBatter2},
        {"hitbat3", 0.40, false, F::Contact, false, hitBatter3},
        {"baseway", 1.50, false, F::None, false, breakFlourish},
        // Sized, in checking order.
        {"1", 0.36, true, F::Umpire, false, callOne},
        {"2", 0.36, true, F::Umpire, false, callTwo},
        {"3", 0.36, true, F::Umpire, false, callThree},
        {"4", 0.36, true, F::Umpire, false, callFour},
        {"ball", 0.76, true, F::Umpire, false, callBall},
        {"beer1", 2.94, true, F::None, false, vendorBeer1},
        {"beer2", 2.16, true, F::None, false, vendorBeer2},
        {"boo", 13.70, true, F::None, false, boo},
        {"bud", 8.51, true, F::Commercial, false, spotLager},
        {"buyacoke", 6.10, true, F::Commercial, false, spotCola},
        {"champion", 11.50, true, F::None, false, championship},
        {"charge1", 19.00, true, F::None, false, chargeLong},
        {"charge2", 8.50, true, F::None, false, chargeShort},
        {"crbkgrd", 59.80, true, F::CrowdLoop, true, crowdMurmurLoop},
        {"crcheer", 10.00, true, F::None, false, cheer},
        {"crdrums", 2.87, true, F::CrowdLoop, true, crowdDrumsLoop},
        {"crexite", 60.00, true, F::CrowdLoop, true, crowdExcitedLoop},
        {"drpepper", 5.47, true, F::Commercial, false, spotTonic},
        {"fosters", 5.20, true, F::Commercial, false, spotBayLager},
        {"foulball", 0.91, true, F::Umpire, false, callFoulBall},
        {"ft", 0.43, true, F::Contact, false, foulTip},
        {"glove", 0.30, true, F::Contact, false, glovePop},
        {"gobetter", 4.31, true, F::Commercial, false, spotSportsDrink},
        {"hh", 0.57, true, F::Contact, false, crushedHit},
        {"hitbat", 0.41, true, F::Contact, false, hitBatter1},
        {"hitcatch", 0.73, true, F::Contact, false, tipIntoMitt},
        {"hotdog", 2.31, true, F::None, false, vendorHotDogs},
        {"hr", 10.00, true, F::None, false, homeRunRoar},
        {"letsplay", 1.31, true, F::Umpire, false, callPlayBall},
        {"lh", 0.43, true, F::Contact, false, lightHit},
        {"losers", 5.40, true, F::None, false, losers},
        {"mh", 0.50, true, F::Contact, false, goodHit},
        {"ouch", 0.58, true, F::None, false, ouch},
        // Pitch lengths are whole numbers of samples that make each file a
        // multiple of 200 bytes long: every whole percentage of the file then
        // falls on a sample, so a swing can land exactly on 80, 85, 90 or 95.
        {"p1", 8478 / 11025.0, true, F::None, false, fastBall},
        {"p2", 17578 / 11025.0, true, F::None, false, curveBall},
        {"p3", 17578 / 11025.0, true, F::None, false, slider},
        {"p4", 15078 / 11025.0, true, F::None, false, sinker},
        {"p5", 19078 / 11025.0, true, F::None, false, changeUp},
        {"p6", 27078 / 11025.0, true, F::None, false, knuckleBall},
        {"p7", 33078 / 11025.0, true, F::None, false, screwBall},
        {"peanuts", 3.16, true, F::None, false, vendorPeanuts},
        {"pepsigen", 3.09, true, F::Commercial, false, spotCometCola},
        {"safe", 1.40, true, F::Umpire, false, callSafeHome},
        {"safe1", 1.76, true, F::Umpire, false, callSafeFirst},
        {"safe2", 1.31, true, F::Umpire, false, callSafeSecond},
        {"safe3", 1.76, true, F::Umpire, false, callSafeThird},
        {"schlitz", 4.66, true, F::Commercial, false, spotOldBeer},
        {"slide", 0.82, true, F::None, false, slideIn},
        {"sm", 0.37, true, F::None, false, swingMiss},
        {"sp", 0.92, true, F::None, false, spit},
        {"strike", 1.50, true, F::Umpire, false, callStrike},
        {"take", 25.00, true, F::None, false, takeMeOut},
        {"takebase", 0.70, true, F::Umpire, false, callTakeBase},
        {"yourout", 1.30, true, F::Umpire, false, callOutHome},
        {"yourout1", 1.46, true, F::Umpire, false, callOutFirst},
        {"yourout2", 1.11, true, F::Umpire, false, callOutSecond},
        {"yourout3", 1.56, true, F::Umpire, false, callOutThird},
    };
    return sounds;
}

}  // namespace sg
