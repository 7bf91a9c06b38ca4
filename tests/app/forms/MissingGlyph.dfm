object TestForm: TTestForm
  object Label: TLabel
  end
  object Button: TBitBtn
    Glyph.Resource = 'Nothing.bmp'
  end
end
