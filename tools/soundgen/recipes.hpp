// The recipes of the wave set, one function per sound (or per group of
// sounds that share a recipe). Each returns the finished, mastered signal of
// exactly the requested length.
#pragma once

#include "dsp.hpp"

namespace sg {

// Loudness of the families (RMS, dBFS), shared so each family agrees.
namespace level {
constexpr double kUmpire = -17.0;
constexpr double kContact = -21.0;
constexpr double kCrowdLoop = -18.0;
constexpr double kCommercial = -17.0;
}  // namespace level

// The field: pitches, swing, spit, bat, glove, body, slide.
Signal fastBall(Rng& rng, double secs);
Signal curveBall(Rng& rng, double secs);
Signal slider(Rng& rng, double secs);
Signal sinker(Rng& rng, double secs);
Signal changeUp(Rng& rng, double secs);
Signal knuckleBall(Rng& rng, double secs);
Signal screwBall(Rng& rng, double secs);
Signal swingMiss(Rng& rng, double secs);
Signal spit(Rng& rng, double secs);
Signal lightHit(Rng& rng, double secs);
Signal goodHit(Rng& rng, double secs);
Signal crushedHit(Rng& rng, double secs);
Signal foulTip(Rng& rng, double secs);
Signal tipIntoMitt(Rng& rng, double secs);
Signal glovePop(Rng& rng, double secs);
Signal hitBatter1(Rng& rng, double secs);
Signal hitBatter2(Rng& rng, double secs);
Signal hitBatter3(Rng& rng, double secs);
Signal slideIn(Rng& rng, double secs);

// Voices: the umpire, the batter, the vendors.
Signal callOne(Rng& rng, double secs);
Signal callTwo(Rng& rng, double secs);
Signal callThree(Rng& rng, double secs);
Signal callFour(Rng& rng, double secs);
Signal callBall(Rng& rng, double secs);
Signal callStrike(Rng& rng, double secs);
Signal callSafeHome(Rng& rng, double secs);
Signal callSafeFirst(Rng& rng, double secs);
Signal callSafeSecond(Rng& rng, double secs);
Signal callSafeThird(Rng& rng, double secs);
Signal callOutHome(Rng& rng, double secs);
Signal callOutFirst(Rng& rng, double secs);
Signal callOutSecond(Rng& rng, double secs);
Signal callOutThird(Rng& rng, double secs);
Signal callTakeBase(Rng& rng, double secs);
Signal callFoulBall(Rng& rng, double secs);
Signal callPlayBall(Rng& rng, double secs);
Signal ouch(Rng& rng, double secs);
Signal vendorHotDogs(Rng& rng, double secs);
Signal vendorPeanuts(Rng& rng, double secs);
Signal vendorBeer1(Rng& rng, double secs);
Signal vendorBeer2(Rng& rng, double secs);

// The stands: crowd loops and reactions, the organ.
Signal crowdMurmurLoop(Rng& rng, double secs);
Signal crowdExcitedLoop(Rng& rng, double secs);
Signal crowdDrumsLoop(Rng& rng, double secs);
Signal cheer(Rng& rng, double secs);
Signal boo(Rng& rng, double secs);
Signal homeRunRoar(Rng& rng, double secs);
Signal chargeLong(Rng& rng, double secs);
Signal chargeShort(Rng& rng, double secs);
Signal takeMeOut(Rng& rng, double secs);
Signal championship(Rng& rng, double secs);
Signal losers(Rng& rng, double secs);
Signal breakFlourish(Rng& rng, double secs);

// Radio spots between innings.
Signal spotLager(Rng& rng, double secs);
Signal spotCola(Rng& rng, double secs);
Signal spotTonic(Rng& rng, double secs);
Signal spotBayLager(Rng& rng, double secs);
Signal spotSportsDrink(Rng& rng, double secs);
Signal spotCometCola(Rng& rng, double secs);
Signal spotOldBeer(Rng& rng, double secs);

}  // namespace sg
