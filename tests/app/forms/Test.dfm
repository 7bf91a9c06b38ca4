object TestForm: TTestForm
  BorderStyle = bsSizeable
  Caption = 'Проба'
  ClientHeight = 100
  ClientWidth = 200
  Color = 8421504
  Font.Color = clBlack
  Font.Size = 8
  Font.Name = 'Tahoma'
  Font.Style = [fsBold]
  Position = poDesigned
  OnCreate = FormCreate
  PixelsPerInch = 96
  object Label: TLabel
    Left = 10
    Top = 20
    Width = 100
    Height = 13
    Alignment = taCenter
    Caption = 'abcd'#13#10'ab'
  end
  object Right: TLabel
    Left = 10
    Top = 40
    Width = 100
    Height = 13
    Alignment = taRightJustify
    Caption = 'abc'
  end
  object Fixed: TLabel
    Left = 10
    Top = 60
    Width = 100
    Height = 13
    AutoSize = False
    Caption = 'abc'
  end
  object Second: TBitBtn
    Left = 1
    Top = 2
    Width = 30
    Height = 20
    TabOrder = 1
    Visible = False
  end
  object Button: TBitBtn
    Left = 11
    Top = 75
    Width = 50
    Height = 21
    Caption = '&Go'
    TabOrder = 0
    Enabled = False
    OnClick = ButtonClick
  end
end
