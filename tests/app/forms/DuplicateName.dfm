object TestForm: TTestForm
  object Label: TLabel
  end
  object Label: TLabel
  end
  object Button: TBitBtn
  end
end
