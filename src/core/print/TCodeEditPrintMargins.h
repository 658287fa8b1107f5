#pragma once
// The margins of a printed page. Values are kept in millimetres; the unit
// system only changes what the accessors take and give.
namespace pelm {

enum TUnitSystem { usMM, usCM, usInch, muThousandthsOfInches };

class TCodeEditPrintMargins {
public:
    enum Margin { mLeft, mRight, mTop, mBottom, mHeader, mFooter, mLeftHFTextIndent, mRightHFTextIndent,
                  mHFInternalMargin, mGutter, MarginCount };

    TUnitSystem UnitSystem() const { return unitSystem_; }
    void SetUnitSystem(TUnitSystem u) { unitSystem_ = u; }

    // A margin in the current unit system.
    double Get(Margin m) const { return mm_[m] / UnitFactor(unitSystem_); }
    void Set(Margin m, double value) { mm_[m] = value * UnitFactor(unitSystem_); }
    // A margin in millimetres, whatever the unit system.
    double MM(Margin m) const { return mm_[m]; }

    double Left() const { return Get(mLeft); }
    double Right() const { return Get(mRight); }
    double Top() const { return Get(mTop); }
    double Bottom() const { return Get(mBottom); }
    double Header() const { return Get(mHeader); }
    double Footer() const { return Get(mFooter); }
    double LeftHFTextIndent() const { return Get(mLeftHFTextIndent); }
    double RightHFTextIndent() const { return Get(mRightHFTextIndent); }
    double HFInternalMargin() const { return Get(mHFInternalMargin); }
    double Gutter() const { return Get(mGutter); }
    void SetLeft(double v) { Set(mLeft, v); }
    void SetRight(double v) { Set(mRight, v); }
    void SetTop(double v) { Set(mTop, v); }
    void SetBottom(double v) { Set(mBottom, v); }
    void SetHeader(double v) { Set(mHeader, v); }
    void SetFooter(double v) { Set(mFooter, v); }
    void SetLeftHFTextIndent(double v) { Set(mLeftHFTextIndent, v); }
    void SetRightHFTextIndent(double v) { Set(mRightHFTextIndent, v); }
    void SetHFInternalMargin(double v) { Set(mHFInternalMargin, v); }
    void SetGutter(double v) { Set(mGutter, v); }

    // Even pages swap the left and right margins.
    bool MirrorMargins = false;

    // Millimetres per unit.
    static double UnitFactor(TUnitSystem u) {
        switch (u) {
            case usCM: return 10.0;
            case usInch: return 25.4;
            case muThousandthsOfInches: return 25.4 / 1000.0;
            default: return 1.0;
        }
    }

private:
    TUnitSystem unitSystem_ = usMM;
    double mm_[MarginCount] = {25, 15, 25, 25, 15, 15, 2, 2, 0.5, 0};
};

}  // namespace pelm
