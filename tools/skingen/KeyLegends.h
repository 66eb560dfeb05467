#pragma once

#include <QString>

#include <cstdint>

namespace trevolin::skingen {

// What a key cap shows: its main legend, and the small second one of the
// shifted symbol or the number pad's other function.
struct KeyLegend {
    QString main;
    QString second;
};

class KeyLegends {
public:
    static KeyLegend Of(uint16_t scan);
};

}  // namespace trevolin::skingen
