#pragma once
// Drawing of a plant for the coupling pictures: "E" end-reservoir coupling,
// "Z" intermediate-reservoir coupling, "K" intermediate coupling with an air
// heat exchanger. Labels in the current language.

#include <QWidget>

class anlagenbild : public QWidget {
    Q_OBJECT
public:
    explicit anlagenbild(char art, QWidget* eltern = nullptr);
    char art() const { return art_; }
    QSize sizeHint() const override { return {335, 170}; }
    QSize minimumSizeHint() const override { return {300, 150}; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    char art_;
};
