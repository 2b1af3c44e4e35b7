#pragma once
// "Gesamtenergie berechnen": the yearly total of a heating-energy record with
// relative month values, from the heated floor area, the fuel consumption per
// area and the heating value of a fuel of the table `heizwert`; "Übernehmen"
// stores total, area and energy per area in the record.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class blatt_raster;

class TGesamtenergie : public QDialog {
    Q_OBJECT
public:
    explicit TGesamtenergie(QWidget* eltern = nullptr);

    // Fills the fields from the current `eh_m` row and stands the fuel grid
    // on the fuel nearest to the record's energy unit.
    void vorbereiten();
    void zeige_modal();
    void beschriften();

    // "=" and "Übernehmen".
    void rechnen();
    void uebernehmen();

    QLineEdit* feld(const char* name) const;
    QPushButton* knopf(const char* name) const;
    blatt_raster* heizwerte() const { return heizwerte_; }

protected:
    void changeEvent(QEvent* e) override;

private:
    void brennstoff_zeigen();

    QLabel *gruppe_, *t_flaeche_, *t_pro_flaeche_, *t_verbrauch_, *t_gesamt_, *t_heizwerte_;
    QLabel *e_flaeche_, *e_pro_flaeche_, *e_verbrauch_, *e_gesamt_;
    QLineEdit *flaeche_, *pro_flaeche_, *verbrauch_, *gesamt_;
    QPushButton *gleich_, *uebernehmen_, *schliessen_;
    blatt_raster* heizwerte_;
    QString einheit_flaeche_;
};
