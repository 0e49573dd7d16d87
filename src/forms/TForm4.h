#pragma once

#include "forms/TButton.h"
#include "forms/TForm.h"
#include "forms/TImage.h"
#include "forms/TMemo.h"

namespace surftally {

// The help window: how to set the widget up and what each display colour means, with a
// picture of the display in each state.
class TForm4 : public TForm {
public:
    static constexpr int kClientWidth = 536;
    static constexpr int kClientHeight = 201;

    explicit TForm4(TApplication& application);

    void FormCreate() override;
    void FormShow() override;
    void Button3Click();

    TMemo* Memo1 = nullptr;
    TMemo* Memo2 = nullptr;
    TImage* Image1 = nullptr;
    TImage* Image2 = nullptr;
    TImage* Image3 = nullptr;
    TImage* Image4 = nullptr;
    TImage* Image5 = nullptr;
    TButton* Button3 = nullptr;

private:
    void createMemos();
    void createImages();
    void createButton();
};

}  // namespace surftally
