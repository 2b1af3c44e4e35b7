#pragma once
// Models of the converter chips on the simulated device boards. Each chip
// sees the logical levels at its own pins and follows its data sheet: a DAC
// shifts in its serial word on the clock edges inside its frame and decodes
// it by its own word layout; an ADC shifts out a conversion result bit by bit.
// None of them uses the program's word builders.

#include <cstdint>
#include <functional>

// A dual or quad DAC with an active-low frame input (SYNC or CS), a serial
// clock and a data input, all sampled on every pin change.
class dac_baustein {
public:
    virtual ~dac_baustein() = default;
    // New levels of the frame, clock and data pins.
    void pins(bool rahmen, bool takt, bool daten);
    // Output voltage of channel k (0 = A, 1 = B, ...).
    virtual double ausgangsspannung(int k) const = 0;
    // Output of code 255 in the configuration the board is built for.
    virtual double vollausschlag() const = 0;
    // Code in the DAC register of channel k.
    virtual int32_t code(int k) const = 0;
    // Channels wired to the voltage and the current output of the board.
    virtual int spannungskanal() const = 0;
    virtual int stromkanal() const = 0;
    // Words the chip took over (complete and valid frames).
    int32_t woerter() const { return woerter_; }

protected:
    virtual void rahmen_faellt() = 0;
    virtual void rahmen_steigt() = 0;
    virtual void takt_steigt(bool daten) = 0;
    int32_t woerter_ = 0;

private:
    bool rahmen_ = true, takt_ = false;
};

// AD7303: two 8-bit DACs. 16-bit word, MSB first, clocked in on the rising
// SCLK edges after SYNC falls; the 16th edge executes it, SYNC rising earlier
// abandons it. DB15 INT/EXT reference, DB14 unused, DB13 LDAC, DB12 PDB,
// DB11 PDA, DB10 A/B, DB9 CR1, DB8 CR0, DB7..DB0 data. With LDAC 1 the input
// register of A/B is loaded and both DAC registers updated; otherwise CR1 CR0:
// 00 both DAC registers from the input registers, 01 input register of A/B,
// 10 DAC register of A/B from its input register, 11 DAC register of A/B
// from the shift register. Internal reference VDD/2, output 2 Vref N/256.
class ad7303 : public dac_baustein {
public:
    explicit ad7303(double vdd = 5.0) : vdd_(vdd) {}
    double ausgangsspannung(int k) const override;
    double vollausschlag() const override { return vdd_ * 255.0 / 256.0; }
    int32_t code(int k) const override { return k == 0 || k == 1 ? dac_[k] : 0; }
    int spannungskanal() const override { return 0; }
    int stromkanal() const override { return 1; }
    int32_t eingang(int k) const { return k == 0 || k == 1 ? eingang_[k] : 0; }

protected:
    void rahmen_faellt() override;
    void rahmen_steigt() override;
    void takt_steigt(bool daten) override;

private:
    void fuehre_aus(uint32_t wort);
    double vdd_;
    bool aktiv_ = false;
    int bits_ = 0;
    uint32_t schiebe_ = 0;
    int32_t eingang_[2] = {0, 0}, dac_[2] = {0, 0};
    bool abgeschaltet_[2] = {false, false};
    bool extern_ = false;  // external reference: the board leaves REF open
};

// AD7304: four 8-bit DACs. 12-bit word, MSB first, clocked in on the rising
// CLK edges while CS is low; when CS rises the last 12 bits are decoded:
// B11 SAC (0 shuts the whole chip down), B10 SDC (0 shuts the addressed DAC
// down), B9 B8 address A1 A0 (DAC A..D), B7..B0 data, loaded and put out at
// once (LDAC tied active on the board). Output VREF N/256, VREF = VDD.
class ad7304 : public dac_baustein {
public:
    explicit ad7304(double vref = 5.0) : vref_(vref) {}
    double ausgangsspannung(int k) const override;
    double vollausschlag() const override { return vref_ * 255.0 / 256.0; }
    int32_t code(int k) const override { return k >= 0 && k < 4 ? dac_[k] : 0; }
    int spannungskanal() const override { return 0; }
    int stromkanal() const override { return 3; }

protected:
    void rahmen_faellt() override;
    void rahmen_steigt() override;
    void takt_steigt(bool daten) override;

private:
    double vref_;
    bool aktiv_ = false;
    int bits_ = 0;
    uint32_t schiebe_ = 0;
    int32_t dac_[4] = {0, 0, 0, 0};
    bool dac_aus_[4] = {false, false, false, false};
    bool chip_aus_ = false;
};

// MCP4802: two 8-bit DACs with a 2.048 V reference. 16-bit word, MSB first,
// latched on the rising SCK edges after CS falls; only the first 16 clocks
// count, and CS rising after at least 16 takes the word over (LDAC tied low):
// bit 15 A/B, 14 unused, 13 GA (1: gain 1, 0: gain 2), 12 SHDN (0 shuts the
// channel down), 11..4 data, 3..0 unused. Output 2.048 V * gain * N/256.
class mcp4802 : public dac_baustein {
public:
    double ausgangsspannung(int k) const override;
    double vollausschlag() const override { return 2.048 * 2.0 * 255.0 / 256.0; }
    int32_t code(int k) const override { return k == 0 || k == 1 ? dac_[k] : 0; }
    int spannungskanal() const override { return 0; }
    int stromkanal() const override { return 1; }

protected:
    void rahmen_faellt() override;
    void rahmen_steigt() override;
    void takt_steigt(bool daten) override;

private:
    bool aktiv_ = false;
    int bits_ = 0;
    uint32_t schiebe_ = 0;
    int32_t dac_[2] = {0, 0};
    bool verstaerkung_2_[2] = {true, true};
    bool aktiv_kanal_[2] = {false, false};
};

// 8-bit serial ADC that puts out the result of the previous conversion:
// while CS is low its data output drives from the first rising clock edge
// on, MSB first, the next bit after each falling edge; the 8th falling edge
// starts the next conversion.
class adc_8bit {
public:
    explicit adc_8bit(std::function<int32_t()> wandlung) : wandlung_(std::move(wandlung)) {}
    void pins(bool cs, bool takt);
    // Level of the data output, or -1 when it does not drive the line.
    int ausgang() const;
    int32_t wandlungen() const { return wandlungen_; }

private:
    std::function<int32_t()> wandlung_;
    bool cs_ = true, takt_ = false, treibt_ = false;
    int32_t register_ = 0, ergebnis_ = 0, wandlungen_ = 0;
    int bit_ = 7, fallend_ = 0;
};

// 10-bit serial ADC with a 4-bit channel address that puts out the result of
// the previous conversion: on CS falling the MSB appears; the address is
// taken MSB first on the first four rising clock edges; each falling edge
// shows the next bit; the 10th falling edge converts the addressed channel.
class adc_10bit {
public:
    explicit adc_10bit(std::function<int32_t(int)> wandlung) : wandlung_(std::move(wandlung)) {}
    void pins(bool cs, bool takt, bool daten);
    // Level of the data output, or -1 when it does not drive the line.
    int ausgang() const;
    int32_t wandlungen() const { return wandlungen_; }
    int letzte_adresse() const { return adresse_; }

private:
    std::function<int32_t(int)> wandlung_;
    bool cs_ = true, takt_ = false, treibt_ = false;
    int32_t register_ = 0, ergebnis_ = 0, wandlungen_ = 0;
    int bit_ = 9, steigend_ = 0, fallend_ = 0, adresse_ = 0, neue_adresse_ = 0;
};
