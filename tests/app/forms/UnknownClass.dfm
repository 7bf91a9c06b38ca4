object TestForm: TTestForm
  object Label: TEdit
  end
end
