#pragma once
// The plant-combination check before a run: refuses combinations the engine
// cannot compute and warns about doubtful ones.

#include <functional>

#include "engine/WP_variables.h"

// The intermediate-heat-exchanger predicate of the air-swept collector
// models, evaluated on copies of the codes and parameters. The run driver's
// services pass the engine's predicate.
using zwischenwaermetauscher_praedikat = std::function<bool(flagchar, datt)>;

// bkflag := 1 allowed, 2 allowed with warnings, 0 refused. A refusal reports
// the test word of the site's `an` and `num` rows after the nearest entry of
// `kontrolle` has been looked up. Reads the current rows of haupt, ir_ta_m
// and lage.
void CheckKombination(datt& vdatt, flagchar& numchar, int& bkflag,
                      const zwischenwaermetauscher_praedikat& zwischenwaermetauscher_aktiv);
