object TestForm: TTestForm
  object Label: TLabel
    WordWrap = True
  end
end
