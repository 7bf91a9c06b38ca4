object TestForm: TTestForm
  object Label: TLabel
  end
  object Button: TLabel
  end
end
