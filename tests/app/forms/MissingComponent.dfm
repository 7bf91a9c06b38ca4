object TestForm: TTestForm
  object Label: TLabel
  end
end
