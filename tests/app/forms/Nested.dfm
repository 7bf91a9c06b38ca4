object TestForm: TTestForm
  object Label: TLabel
    object Inner: TLabel
    end
  end
  object Button: TBitBtn
  end
end
