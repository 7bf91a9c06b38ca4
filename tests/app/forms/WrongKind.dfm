object TestForm: TTestForm
  ClientWidth = '200'
  object Label: TLabel
  end
  object Button: TBitBtn
  end
end
