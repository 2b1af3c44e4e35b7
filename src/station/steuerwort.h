#pragma once
// Data of the device protocol and its pure operations: line and channel
// enumerations, bit vectors, device identities, line levels and the DAC
// control words of the AD7303, AD7304 and MCP4802.

#include <array>
#include <cstdint>
#include <string>

// Modem-control lines of a port.
enum class usbdata { vcts = 0, vdcd, vdsr, vri, vrxd, vrts, vdtr, vtxd };

// DAC channel: voltage or current.
enum class vdata { v_sp = 0, a_st };

// Four integers: a device identity (expected DCD and DSR levels in the first
// two) or an ADC channel address (four bits in sending order).
using dat_int_4 = std::array<int32_t, 4>;

// Bits in positions 1..16 (slot 0 unused), position p having weight 2^(p-1).
using bin_vektor = std::array<int32_t, 17>;
// A DAC control word in the same numbering, sent from its highest used
// position down.
using steuer_vektor = std::array<int32_t, 17>;

// Adapter choice of the station window ("USB to serial").
constexpr int USB_FT232RL = 0;
constexpr int USB_BAUSATZ_BREAKOUT = 1;

// Bits 0..count-1 of `zahl` into positions 1..count, least significant first.
bin_vektor zahl_zu_bits(int64_t zahl, int anzahl);
// Sum of position p times 2^(p-1) over p = 1..count.
int64_t bits_zu_zahl(const bin_vektor& bits, int anzahl);

// Line level of a logical level: inverted with flag 1.
int pegel(int logisch, int invertiert);
// Inversion flag of the DAC lines for an adapter choice: 1 for "FT232RL"
// (any index but 1), 0 for "Bausatz-Breakout".
int inversion_fuer_adapter(int usb_index);

// Identity of a device letter: 'W' weather station (DCD 1, DSR 0), 'S' pump
// and intermediate heat-pump board (0, 0), 'V' collector fan (1, 1), 'A'
// sensor board (0, 1). Other letters leave the identity as it is.
void belege_ident(dat_int_4& check_ident, char geraet);

// Control words from the data bits D1..D8 (positions 1..8 of `datenbits`).
// `action` "in" clears the AD7303's update bit (input register only).
void erzeuge_steuersignal(const bin_vektor& datenbits, steuer_vektor& steuersignal, vdata kanal,
                          const std::string& action);
void erzeuge_steuersignal_AD7304(const bin_vektor& datenbits, steuer_vektor& steuersignal, vdata kanal,
                                 const std::string& action);
void erzeuge_steuersignal_mcp4802(const bin_vektor& datenbits, steuer_vektor& steuersignal, vdata kanal,
                                  const std::string& action);

// DAC code for a set value: round(255 * wert / maximum), halves to even, kept
// within 0..255 (a maximum of 0 or less gives 0).
int32_t dac_code(double wert, double maximum);
