object TestForm: TTestForm
  OnCreate = FormCreate
  object Label: TLabel
  end
  object Button: TBitBtn
    Caption = 'x'
    OnClick = ButtonClick
  end
end
