#pragma once

#include <irrString.h>
#include <irrTypes.h>

#include <vector>

#include "ScoreTable.h"

// How a round went, counted while it ran.
struct RoundSummary {
    irr::u32 hits;      // jets hit
    irr::u32 aircraft;  // jets the round sent
    irr::u32 points;    // points scored
    irr::u32 bursts;    // bursts fired
};

// The words of the panel shown when a round has run to its end, and of the
// line that invites the first round. Kept apart from drawing so that the
// wording and the numbers can be checked without a window.
//
// The panel, centred, from the top:
//
//     ROUND OVER
//     JETS HIT: 3 OF 5
//     POINTS: 7412
//     ACCURACY: 0.60 HITS PER BURST
//     BEST ROUNDS
//      1.  9120  4/5  2024-06-09 21:14
//      2.  7412  3/5  2024-06-10 14:32     <- this round, marked
//     ...
//
// The table's columns are separate strings because the font is not of one
// width: the drawing puts each column at its own place.
class RoundPanel {
public:
    static const wchar_t* const startHint;   // "F9: start a round"
    static const wchar_t* const tableTitle;  // "BEST ROUNDS", above the table

    // One row of the table of best rounds.
    struct Row {
        irr::core::stringw place;   // "1." to "10."
        irr::core::stringw points;
        irr::core::stringw hits;    // "3/5"
        irr::core::stringw date;    // local time: "2024-06-10 14:32"
        bool marked;                // the round just played
    };

    // ROUND OVER, the jets hit, the points and the accuracy.
    static std::vector<irr::core::stringw> heading(const RoundSummary& round);
    // Hits per burst with two decimals, rounded half up; a round without a
    // burst fired has no accuracy to speak of and says so.
    static irr::core::stringw accuracy(irr::u32 hits, irr::u32 bursts);
    // The rows of the table, the one at markedPlace marked (none for
    // ScoreTable::notEntered).
    static std::vector<Row> rows(const std::vector<ScoreTable::Entry>& table, int markedPlace,
                                 irr::u32 aircraftPerRound);
    // What stands below the table: nothing when the round entered it,
    // otherwise a line that says it did not.
    static irr::core::stringw footer(int markedPlace);
    // A date of the table in local time, to the minute.
    static irr::core::stringw dateText(irr::u64 secondsSince1970);
};
