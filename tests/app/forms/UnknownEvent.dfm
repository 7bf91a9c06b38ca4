object TestForm: TTestForm
  object Label: TLabel
    OnClick = ButtonClick
  end
  object Button: TBitBtn
  end
end
