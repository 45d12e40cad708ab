#include "engine/factortable.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace quantix {

namespace {

// A power of ten computed at run time, as the table writes 10^n.
double tenTo(int exponent)
{
    return std::pow(10.0, exponent);
}

// Every built-in unit in catalogue order. Each constant expression is written
// exactly as the conversion tables give it and computed in full before it is
// applied; the constants fix the last digits of every result.
std::vector<UnitRule> buildRules()
{
    const double pi = 4 * std::atan(1.0);
    const double voltPerMil = 39.37;
    const double voltPerMetre = 1000;
    return {
    // Acceleration
    {501, Rule::Copy, 1},
    {502, Rule::Multiply, 1609.344},
    {503, Rule::Multiply, 0.3048},
    {504, Rule::Multiply, 9.80665},
    {505, Rule::Multiply, 0.01},

    // Angle
    {511, Rule::Multiply, pi * 2},
    {512, Rule::Multiply, pi / 2},
    {513, Rule::Copy, 1},
    {514, Rule::Multiply, pi / 180},
    {515, Rule::Multiply, pi / 10800},
    {516, Rule::Multiply, pi / 648000},

    // Angular Velocity
    {521, Rule::Multiply, pi * 2},
    {522, Rule::Copy, 1},
    {523, Rule::Multiply, pi * 2 / 60},
    {524, Rule::Multiply, pi / 180},
    {525, Rule::Multiply, pi * 2 / 3600},
    {526, Rule::Multiply, pi * 2 / 86400},

    // Area
    {531, Rule::Multiply, 0.4046856 * 10000},
    {532, Rule::Multiply, 100},
    {533, Rule::Multiply, 10000},
    {534, Rule::Multiply, 0.0001},
    {535, Rule::Multiply, 0.09290304},
    {536, Rule::Multiply, 0.00064516},
    {537, Rule::Multiply, 1000000},
    {538, Rule::Copy, 1},
    {539, Rule::Multiply, 2.589988 * 1000000},
    {540, Rule::Multiply, tenTo(-6)},
    {541, Rule::Multiply, tenTo(-18)},
    {542, Rule::Multiply, 0.8361274},

    // Capacitance
    {551, Rule::Multiply, tenTo(9)},
    {552, Rule::Copy, 1},
    {553, Rule::Divide, 898755178736.8176},  // c² × 10^-5, c = 299792458 m/s

    // Charge
    {561, Rule::Multiply, 96521.9},
    {562, Rule::Multiply, 3600},
    {563, Rule::Copy, 1},
    {564, Rule::Multiply, 0.3335641 * tenTo(-9)},
    {565, Rule::Multiply, 0.333564 * tenTo(-9)},
    {566, Rule::Multiply, 1.60217733 * tenTo(-19)},

    // Conductance
    {571, Rule::Multiply, tenTo(6)},
    {572, Rule::Copy, 1},
    {573, Rule::Multiply, tenTo(6)},
    {574, Rule::Copy, 1},
    {575, Rule::Divide, 898755.1787368177},  // the same, in microsiemens

    // Density
    {581, Rule::Multiply, 27679.9},
    {582, Rule::Multiply, 1328.939},
    {583, Rule::Multiply, tenTo(3)},
    {584, Rule::Multiply, 16.01846},
    {585, Rule::Multiply, 6.236023},
    {586, Rule::Copy, 1},
    {587, Rule::Multiply, tenTo(-3)},
    {588, Rule::Multiply, tenTo(-6)},
    {589, Rule::Multiply, 1186.553},

    // Dynamic Viscosity
    {591, Rule::Multiply, 6894.75744},
    {592, Rule::Multiply, 47.88026},
    {593, Rule::Multiply, 1.488164},
    {594, Rule::Copy, 1},
    {595, Rule::Multiply, 0.1},

    // Electric Field Strength: "volt per mil" and "kilovolt per inch" are one
    // unit, as are "volt per metre" and "newton per coulomb"; each pair shares
    // one rule.
    {601, Rule::Multiply, voltPerMil},
    {602, Rule::Multiply, voltPerMil},
    {603, Rule::Copy, 1},
    {604, Rule::Divide, voltPerMetre},
    {605, Rule::Divide, voltPerMetre},

    // Energy
    {611, Rule::Multiply, 4184000000000},  // 1 t of TNT is 4.184 GJ by definition
    {612, Rule::Multiply, 3.6 * tenTo(9)},
    {613, Rule::Multiply, tenTo(6)},
    {614, Rule::Multiply, 3600},
    {615, Rule::Multiply, 2684.52},
    {616, Rule::Multiply, 1000},
    {617, Rule::Divide, 1000},
    {618, Rule::Multiply, 3.6},
    {619, Rule::Multiply, 1.055056},
    {620, Rule::Copy, 1},
    {621, Rule::Multiply, 0.0041868},
    {622, Rule::Multiply, 0.001355818},
    {623, Rule::Divide, 1000},
    {624, Rule::Divide, 1000000},
    {625, Rule::Divide, tenTo(9)},
    {626, Rule::Divide, tenTo(10)},
    {627, Rule::Divide, tenTo(12)},
    {628, Rule::Divide, tenTo(21)},
    {629, Rule::Multiply, 0.1602177 * tenTo(-21)},
    {630, Rule::Multiply, 0.1602177 * tenTo(-15)},
    {631, Rule::Multiply, 1.05587},
    {632, Rule::Multiply, 1.054615},
    {633, Rule::Multiply, 4.1855},
    {634, Rule::Multiply, 0.00004214011},

    // Flow
    {641, Rule::Multiply, 1000},
    {642, Rule::Multiply, 12.74258},
    {643, Rule::Multiply, 28.31685},
    {644, Rule::Multiply, 4.5460902},
    {645, Rule::Multiply, 3.785412},
    {646, Rule::Copy, 1},
    {647, Rule::Copy, 1},
    {648, Rule::Multiply, 0.4719474},
    {649, Rule::Multiply, 0.07576817},
    {650, Rule::Multiply, 0.0630902},
    {651, Rule::Multiply, 0.028413062},
    {652, Rule::Multiply, 0.02957353},
    {653, Rule::Divide, 60},
    {654, Rule::Divide, 1000},
    {655, Rule::Divide, 1000},
    {656, Rule::Divide, 19005.34221692},
    {657, Rule::Divide, 22824.46402135},
    {658, Rule::Multiply, 0.01638706},
    {659, Rule::Multiply, 0.000273117},

    // Force
    {661, Rule::Multiply, 4448.222},
    {662, Rule::Multiply, 1000},
    {663, Rule::Multiply, 4.448222},
    {664, Rule::Copy, 1},
    {665, Rule::Multiply, 0.138255},
    {666, Rule::Divide, 1000},
    {667, Rule::Divide, 100000},
    {668, Rule::Multiply, 9.80665},

    // Illuminance
    {671, Rule::Multiply, 10000},
    {672, Rule::Multiply, 10000},
    {673, Rule::Multiply, 10.76391},
    {674, Rule::Multiply, 10.76391},
    {675, Rule::Copy, 1},
    {676, Rule::Copy, 1},
    {677, Rule::Copy, 1},

    // Kinematic Viscosity
    {681, Rule::Multiply, 1000000},
    {682, Rule::Multiply, 92903.04},
    {683, Rule::Multiply, 100},
    {684, Rule::Copy, 1},
    {685, Rule::Multiply, 100},

    // Length
    {691, Rule::Multiply, 30.85678 * tenTo(15)},
    {692, Rule::Multiply, 9.460528 * tenTo(15)},
    {693, Rule::Multiply, 149.59787 * tenTo(9)},
    {694, Rule::Multiply, 1852},
    {695, Rule::Multiply, 1609.344},
    {696, Rule::Multiply, 1000},
    {697, Rule::Multiply, 219.456},
    {698, Rule::Multiply, 182.88},
    {699, Rule::Multiply, 201.168},
    {700, Rule::Multiply, 1.8288},
    {701, Rule::Copy, 1},
    {702, Rule::Multiply, 0.9144},
    {703, Rule::Multiply, 0.3048},
    {704, Rule::Multiply, 0.0254},
    {705, Rule::Divide, 100},
    {706, Rule::Divide, 1000},
    {707, Rule::Multiply, 0.0000254},
    {708, Rule::Divide, 1 * tenTo(6)},
    {709, Rule::Divide, 1 * tenTo(12)},
    {710, Rule::Divide, 1 * tenTo(15)},
    {711, Rule::Divide, 1 * tenTo(10)},
    {712, Rule::Multiply, 0.000254},
    {713, Rule::Multiply, 20.1168},
    {714, Rule::Multiply, 1.143},
    {715, Rule::Multiply, 0.201168},
    {716, Rule::Multiply, 5.0292},
    {717, Rule::Multiply, 0.004217518},
    {718, Rule::Multiply, 5.0292},
    {719, Rule::Multiply, 5.0292},

    // Luminance
    {721, Rule::Multiply, 10},
    {722, Rule::Multiply, 3.183099},
    {723, Rule::Multiply, 1.550003},
    {724, Rule::Copy, 1},
    {725, Rule::Multiply, 0.01076391},
    {726, Rule::Multiply, 0.003426259},
    {727, Rule::Divide, 1000},
    {728, Rule::Multiply, 10},

    // Magnetic Field Strength
    {731, Rule::Multiply, 1000},
    {732, Rule::Multiply, 79.57747},
    {733, Rule::Copy, 1},
    {734, Rule::Copy, 1},
    {735, Rule::Copy, 1},

    // Magnetic Flux
    {741, Rule::Multiply, 1000000},
    {742, Rule::Multiply, 1000},
    {743, Rule::Copy, 1},
    {744, Rule::Multiply, 0.1256637},
    {745, Rule::Divide, 100},
    {746, Rule::Divide, 100},

    // Magnetic Flux Density
    {751, Rule::Multiply, 10000},
    {752, Rule::Multiply, 10000},
    {753, Rule::Copy, 1},
    {754, Rule::Copy, 1},
    {755, Rule::Divide, 6.4516},  // 1 in² = 6.4516 cm²
    {756, Rule::Divide, 6.4516},
    {757, Rule::Divide, tenTo(5), 100000},  // back with the constant 100000

    // Magnetomotive Force
    {761, Rule::Multiply, 1000},
    {762, Rule::Copy, 1},
    {763, Rule::Copy, 1},
    {764, Rule::Multiply, 0.7957747},
    {765, Rule::Multiply, 0.7957747},

    // Mass
    {771, Rule::Multiply, 1016.0469088},
    {772, Rule::Multiply, 907.18474},
    {773, Rule::Multiply, 14.5939},
    {774, Rule::Copy, 1},
    {775, Rule::Multiply, 6.350293},
    {776, Rule::Multiply, 0.45359237},
    {777, Rule::Multiply, 0.031103476},
    {778, Rule::Multiply, 0.028349523},
    {779, Rule::Divide, 1000},
    {780, Rule::Divide, 1000000},
    {781, Rule::Multiply, 0.00006479891},
    {782, Rule::Multiply, 0.0002},
    {783, Rule::Multiply, 0.001771845},
    {784, Rule::Multiply, 0.003887935},
    {785, Rule::Multiply, 0.001555174},
    {786, Rule::Multiply, 1.66054 * tenTo(-27)},

    // Power
    {791, Rule::Multiply, 1000000},
    {792, Rule::Multiply, 9809.5},
    {793, Rule::Multiply, 4184},
    {794, Rule::Multiply, 1054.35},
    {795, Rule::Multiply, 1000},
    {796, Rule::Multiply, 746},
    {797, Rule::Multiply, 735.49875},
    {798, Rule::Multiply, 17.5725},
    {799, Rule::Multiply, 4.184},
    {800, Rule::Multiply, 1.355818},
    {801, Rule::Copy, 1},
    {802, Rule::Multiply, 0.2928751},
    {803, Rule::Divide, 1000},
    {804, Rule::Divide, 10000000},
    {805, Rule::Multiply, 0.2930711},
    {806, Rule::Multiply, 0.0003766161},
    {807, Rule::Multiply, 0.02259697},

    // Power Density
    {811, Rule::Multiply, 1634.246},
    {812, Rule::Multiply, 1000},
    {813, Rule::Multiply, 41.84},  // the langley is 1 thermochemical cal/cm²
    {814, Rule::Multiply, 41.868},
    {815, Rule::Multiply, 11.34893},
    {816, Rule::Multiply, 8.0266466154635},  // 550 ft·lbf/s per ft²
    {817, Rule::Multiply, 1.55},
    {818, Rule::Copy, 1},
    {819, Rule::Divide, 92.90304},  // 1 ft² = 0.09290304 m²
    {820, Rule::Multiply, 0.003152481},
    {821, Rule::Divide, 1000},
    {822, Rule::Divide, 3473231.2677490604},  // per international square mile
    {823, Rule::Divide, 1000000},
    {824, Rule::Multiply, 0.6973333333333334},  // the same, per minute

    // Pressure or Stress
    {831, Rule::Multiply, 101.325},
    {832, Rule::Divide, 1000},
    {833, Rule::Copy, 1},
    {834, Rule::Multiply, 1000},
    {835, Rule::Multiply, 6.894757},
    {836, Rule::Multiply, 3.38639},
    {837, Rule::Multiply, 0.249082},
    {838, Rule::Multiply, 0.1333224},
    {839, Rule::Multiply, 0.04788026},
    {840, Rule::Multiply, 100},
    {841, Rule::Multiply, 6894.757},
    {842, Rule::Multiply, 0.1333224},
    {843, Rule::Multiply, 0.001488164},

    // Temperature
    {851, Rule::Celsius, 0},
    {852, Rule::Kelvin, 0},
    {853, Rule::Fahrenheit, 0},
    {854, Rule::Rankine, 0},

    // Thermal Conductivity
    {861, Rule::Multiply, 10},
    {862, Rule::Multiply, 4.184},
    {863, Rule::Copy, 1},
    {864, Rule::Multiply, 0.01730734666371391},  // IT Btu ÷ (h·ft·°F)
    {865, Rule::Divide, 100},

    // Time
    {871, Rule::Multiply, 3.1536 * tenTo(10)},
    {872, Rule::Multiply, 3.1536 * tenTo(9)},
    {873, Rule::Multiply, 3.1536 * tenTo(8)},
    {874, Rule::Multiply, 3.1536 * tenTo(7)},
    {875, Rule::Multiply, 2628000},
    {876, Rule::Multiply, 604800},
    {877, Rule::Multiply, 86400},
    {878, Rule::Multiply, 3600},
    {879, Rule::Multiply, 60},
    {880, Rule::Copy, 1},
    {881, Rule::Divide, 1000},
    {882, Rule::Divide, 1 * tenTo(6)},
    {883, Rule::Divide, 1 * tenTo(9)},
    {884, Rule::Divide, 1 * tenTo(12)},

    // Torque
    {891, Rule::Multiply, 9.80665},
    {892, Rule::Multiply, 1.355818},
    {893, Rule::Copy, 1},
    {894, Rule::Multiply, 0.112985},
    {895, Rule::Multiply, 0.007061552},
    {896, Rule::Divide, 1000},
    {897, Rule::Multiply, 0.0000980665},  // 9.80665 × 10^-5 N·m
    {898, Rule::Divide, 10000000},

    // Velocity
    {911, Rule::Copy, 1},
    {912, Rule::Divide, 3.6},
    {913, Rule::Multiply, 1000},
    {914, Rule::Multiply, 299792458},
    {915, Rule::Multiply, 1609.344},
    {916, Rule::Multiply, 0.514444444},
    {917, Rule::Multiply, 0.44704},
    {918, Rule::Multiply, 0.3048},
    {919, Rule::Multiply, 0.0254},
    {920, Rule::Divide, 100},
    {921, Rule::Multiply, 84.66667 * tenTo(-6)},
    {922, Rule::Multiply, 0.00508},
    {923, Rule::Multiply, 26.8224},
    {924, Rule::Multiply, 0.514773333},

    // Volume (Dry)
    {931, Rule::Multiply, 3.624556},
    {932, Rule::Copy, 1},
    {933, Rule::Multiply, 0.7645549},
    {934, Rule::Multiply, 0.03523907},
    {935, Rule::Multiply, 0.03636872},
    {936, Rule::Multiply, 0.1156271},
    {937, Rule::Multiply, 0.02831685},
    {938, Rule::Multiply, 0.001101221},
    {939, Rule::Divide, 1000},
    {940, Rule::Multiply, 0.0005506105},
    {941, Rule::Multiply, 0.000016387064},
    {942, Rule::Divide, 1000},
    {943, Rule::Multiply, 0.008809768},

    // Volume (Liquid)
    {951, Rule::Multiply, 158987.3},
    {952, Rule::Multiply, 4546.09},
    {953, Rule::Multiply, 3785.412},
    {954, Rule::Multiply, 1136.522},
    {955, Rule::Multiply, 1000},
    {956, Rule::Multiply, 946.3529},
    {957, Rule::Multiply, 473.1765},
    {958, Rule::Multiply, 568.2612},
    {959, Rule::Multiply, 284.130625},  // 10 imperial fl oz
    {960, Rule::Multiply, 227.3045},  // 8 imperial fl oz
    {961, Rule::Multiply, 236.5882365},  // 8 US fl oz
    {962, Rule::Multiply, 28.413062},
    {963, Rule::Multiply, 29.57353},
    {964, Rule::Multiply, 17.7581640625},  // 5/8 imperial fl oz
    {965, Rule::Multiply, 14.20653125},  // 1/2 imperial fl oz
    {966, Rule::Multiply, 14.78676478125},  // 1/2 US fl oz
    {967, Rule::Multiply, 4.92892159375},  // 1/6 US fl oz
    {968, Rule::Multiply, 4.735510416666667},  // 1/6 imperial fl oz
    {969, Rule::Copy, 1},
    {970, Rule::Copy, 1},
    {971, Rule::Multiply, 0.05},
    {972, Rule::Multiply, 0.06161152},
    {973, Rule::Multiply, 0.0591939},
    {974, Rule::Multiply, 36368.72},
    {975, Rule::Multiply, 9092.18},
    {976, Rule::Multiply, 5.919388020833333},  // 1/3 UK tablespoon

    // Temperature Difference: intervals, so the scales' factors without their offsets
    {981, Rule::Copy, 1},
    {982, Rule::Copy, 1},
    {983, Rule::Divide, 1.8},
    {984, Rule::Divide, 1.8},

    // Units written in parts count in their smallest part: inch, ounce (a
    // sixteenth of the pound, as the parts are), pound, second, second of arc.
    {1401, Rule::Multiply, 0.0254},
    {1402, Rule::Multiply, 0.45359237 / 16},
    {1403, Rule::Multiply, 0.45359237},
    {1404, Rule::Copy, 1},
    {1405, Rule::Multiply, pi / 648000},
    };
}

const std::vector<UnitRule> &allRules()
{
    static const std::vector<UnitRule> rules = buildRules();
    return rules;
}

}

std::span<const UnitRule> unitRules(int quantityId)
{
    const std::vector<UnitRule> &rules = allRules();
    // A quantity's units are the consecutive IDs after the quantity's own.
    const auto first = std::lower_bound(rules.begin(), rules.end(), quantityId + 1,
                                        [](const UnitRule &r, int id) { return r.id < id; });
    auto last = first;
    while (last != rules.end() && last->id == quantityId + 1 + (last - first))
        ++last;
    if (first == rules.end() || quantityId % 10 != 0)
        return {};
    return {first, last};
}

const UnitRule *unitRule(int unitId)
{
    const std::vector<UnitRule> &rules = allRules();
    const auto found = std::lower_bound(rules.begin(), rules.end(), unitId, [](const UnitRule &r, int id) { return r.id < id; });
    return found != rules.end() && found->id == unitId ? &*found : nullptr;
}

double applyToBase(const UnitRule &unit, double x)
{
    switch (unit.rule) {
    case Rule::Copy: return x;
    case Rule::Multiply: return x * unit.e;
    case Rule::Divide: return x / unit.e;
    case Rule::Celsius: return x;
    case Rule::Kelvin: return x - 273.15;
    case Rule::Fahrenheit: return (x - 32) / 1.8;
    case Rule::Rankine: return x / 1.8 - 273.15;
    }
    return x;
}

double applyFromBase(const UnitRule &unit, double x)
{
    switch (unit.rule) {
    case Rule::Copy: return x;
    case Rule::Multiply: return x / unit.e;
    case Rule::Divide: return x * (unit.eBack != 0 ? unit.eBack : unit.e);
    case Rule::Celsius: return x;
    case Rule::Kelvin: return x + 273.15;
    case Rule::Fahrenheit: return x * 1.8 + 32;
    case Rule::Rankine: return (x + 273.15) * 1.8;
    }
    return x;
}

}
