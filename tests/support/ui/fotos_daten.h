#pragma once
// Pictures of the data windows (data sheets, new data, search, import, total
// energy, printout) for the screenshot tool.

#include <QString>

#include <filesystem>
#include <functional>

class QWidget;
class antworter;
class varnek_programm;

// Shows each window filled as a user would see it and hands it to `foto`
// with a name; `ordner` is a scratch folder for the climate-atlas files; the
// printout of a data set is written as PDF into `ablage`.
void fotos_datenfenster(varnek_programm& p, antworter& a, const std::filesystem::path& ordner,
                        const std::filesystem::path& ablage,
                        const std::function<void(QWidget*, const QString&)>& foto);

// A small climate-atlas installation in `ordner` with the Potsdam station
// (monthly series from the measured 2019 summary of data/reference), set as
// the climate-data descriptors of the settings.
void lege_klimaatlas_an(const std::filesystem::path& ordner);
