#pragma once
// Decor of a front-panel page, not linked to a circuit component: a scale of division marks,
// a text label, a frame or line, a picture and a filled shape. Scale, label, frame and shape
// are left out of the published page.

#include "frontpanel/FP_Element.h"

#include <QImage>

#include <cstdint>

class TSkale : public TFP_Element {
public:
    FP_CLASS_NAME(TSkale)
    enum TOrientierung : uint8_t { rechts = 0, links = 1, oben = 2, unten = 3 };

    explicit TSkale(QWidget* owner = nullptr);

    int16_t SKTeile = 20;
    int16_t SKGrossSchritt = 5;
    int16_t SKGrossStart = 1;
    TOrientierung SKOrientierung = oben;
    int32_t SKFarbe = 0;

    // Each limited to 1..100; repaint.
    void SetSKTeile(int n);
    void SetSKGrossSchritt(int n);
    void SetSKGrossStart(int n);
    void SetSKOrientierung(TOrientierung o);
    // Position of mark i (1..SKTeile + 1) along the scale, and whether it is long.
    int MarkPosition(int i) const;
    bool IsLongMark(int i) const;

    void Paint(TCanvas& canvas) override;
    int EditProperties() override;
    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    bool IsPublished() const override { return false; }
};

class TBeschriftung : public TFP_Element {
public:
    FP_CLASS_NAME(TBeschriftung)
    enum TAlignment : uint8_t { Left = 0, Right = 1, Center = 2 };

    explicit TBeschriftung(QWidget* owner = nullptr);

    QString Text = QStringLiteral("Text");  // at most 60 characters
    TAlignment Alignment = Left;

    void SetText(const QString& text) { Text = text.left(60); update(); }

    void Paint(TCanvas& canvas) override;
    int EditProperties() override;
    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    bool IsPublished() const override { return false; }
};

class TRahmen : public TFP_Element {
public:
    FP_CLASS_NAME(TRahmen)
    // The stored numbers of shape and style.
    enum TShape : uint8_t { bsBox = 0, bsFrame = 1, bsTopLine = 2, bsBottomLine = 3, bsLeftLine = 4, bsRightLine = 5 };
    enum TStyle : uint8_t { bsLowered = 0, bsRaised = 1 };

    explicit TRahmen(QWidget* owner = nullptr);

    TShape Shape = bsBox;
    TStyle Style = bsLowered;

    void Paint(TCanvas& canvas) override;
    int EditProperties() override;
    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    bool IsPublished() const override { return false; }
};

class TLogo : public TFP_Element {
public:
    FP_CLASS_NAME(TLogo)

    explicit TLogo(QWidget* owner = nullptr);

    QString BildDatei;
    QImage Picture;

    // Looks the file up among the data files and loads it; a file that does not exist gives
    // the crossed placeholder, and the element takes its size.
    void LoadPicture();
    // Element size := picture size plus the frame on both sides.
    void FitToPicture();

    void Paint(TCanvas& canvas) override;
    int EditProperties() override;
    void EditFrameAndBackground() override;
    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
};

class TFlaeche : public TFP_Element {
public:
    FP_CLASS_NAME(TFlaeche)
    // The stored shape numbers.
    enum TShapeType : uint8_t { stRectangle = 0, stSquare = 1, stRoundRect = 2, stRoundSquare = 3, stEllipse = 4, stCircle = 5 };

    explicit TFlaeche(QWidget* owner = nullptr);

    TShapeType Shape = stRectangle;
    int32_t FillColor = 0xFFFFFF;
    int32_t PenColor = 0;
    int16_t PenWidth = 1;

    void Paint(TCanvas& canvas) override;
    int EditProperties() override;
    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    bool IsPublished() const override { return false; }
};
