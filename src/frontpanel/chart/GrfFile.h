#pragma once
// The recorder file (*.GRF): one Y(t) recording with the chart's view, as lines of text in the
// 8-bit code page ended by CR LF. Integers are plain decimals, numbers have the fixed
// scientific form of 23 characters (" 1.00000000000000E-0003"), texts are taken whole. The
// current form carries "#FileVersion40" after the headline; older files without it, or
// without the time-base line, are read too.

#include "frontpanel/chart/Chart.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

struct TGrfData {
    int32_t TimeBaseIndex = 0;
    QString XUnit, YUnit;
    double ViewXMin = 0, ViewXMax = 1, ViewYMin = 0, ViewYMax = 1;
    double XMinLimit = -1e33, XMaxLimit = 1e33, YMinLimit = -1e20, YMaxLimit = 1e20;
    QString Headline;
    int32_t Version = 40;   // 0 for a file without the marker
    int32_t TimeMode = 1;   // read only from version 40 on
    double StartZeit = 0;
    QStringList CommentLines;
    struct Curve {
        QString Text, Name;
        int32_t Color = 0;
        std::vector<TChartSample> Samples;
    };
    std::vector<Curve> Curves;
    struct Comment {
        QString Text;
        double AnchorX = 0, AnchorY = 0, PointX = 0, PointY = 0;
    };
    std::vector<Comment> Comments;
    // The file ended (or held no number where one belongs) before all that its counts promise:
    // the curves, points, comment lines and comments above are the complete ones read before.
    bool Cut = false;

    bool HasTimeMode() const { return Version > 39; }
};

// A number in the file's fixed scientific form.
QString GrfNumber(double value);
// The whole file.
QByteArray WriteGrf(const TGrfData& data);
// Reads a file's bytes. A file with a negative count, or whose version after the marker is no
// number, is refused: false with *error (in the current language). A file that ends early
// gives what was read completely before its end, with data.Cut set; missing numbers of the
// lines before the counts read as 0, as the file routines always did.
bool ParseGrf(const QByteArray& bytes, TGrfData& data, QString* error);
// What the user is told of a file that was read only in part (data.Cut).
QString GrfCutNotice();
