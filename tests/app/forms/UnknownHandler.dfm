object TestForm: TTestForm
  object Label: TLabel
  end
  object Button: TBitBtn
    OnClick = Nowhere
  end
end
